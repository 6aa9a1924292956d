#include "app/window_rules.h"

#include "app/main_controls.h"
#include "platform/settings_store.h"

#include <algorithm>
#include <cmath>

namespace tavo {

CloseAction CloseButtonAction(long long isClose, bool trayAvailable) {
    if (isClose != 0) return CloseAction::AskToExit;
    return trayAvailable ? CloseAction::HideToTray : CloseAction::Minimise;
}

namespace {

// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double x) {
    const double f = std::floor(x);
    const double rest = x - f;
    long long r = static_cast<long long>(f);
    if (rest > 0.5 || (rest == 0.5 && (r % 2 != 0))) ++r;
    return static_cast<int>(r);
}

}  // namespace

int VolumeFromPress(int trackHeight, int y) {
    if (trackHeight <= 0) return 0;
    const int from = std::clamp(y, 0, trackHeight);
    return std::clamp(RoundHalfEven((trackHeight - from) / (trackHeight / 100.0)), 0, 100);
}

int VolumeFillTop(int trackHeight, int volume) {
    if (trackHeight <= 0) return 0;
    const int v = std::clamp(volume, 0, 100);
    return trackHeight - static_cast<int>(trackHeight / 100.0 * v);
}

bool LrcShowAtStart() {
    return platform::SettingNumber(
               platform::Settings().GetSetting(kAppTitle, QStringLiteral("Config"), QStringLiteral("LrcShow"))) != 0;
}

}  // namespace tavo
