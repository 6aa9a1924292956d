#include "app/ui/main_pixels.h"

#include "platform/core/media_player.h"

#include <algorithm>
#include <cmath>

namespace tavo {

int RowAt(int x, int y, int listWidth, int rowHeight, int rows) {
    if (rowHeight <= 0 || x <= 0 || x >= listWidth || y <= 0) return -1;
    const int row = y / rowHeight;
    return row < std::clamp(rows, 0, kRowsPerPage) ? row : -1;
}

int ProgressFill(int trackWidth, double length, double position) {
    const double w = trackWidth / (length + 1) * position;
    return std::isfinite(w) ? std::clamp(static_cast<int>(w), 0, std::max(0, trackWidth)) : 0;
}

std::optional<SeekTarget> SeekOnTrack(int x, int width, double duration, int playState) {
    if (playState != platform::kPlayPlaying && playState != platform::kPlayPaused) return std::nullopt;
    if (x <= 0 || x >= width || !(duration > 0)) return std::nullopt;
    return SeekTarget{x, x / (width / duration)};
}

}  // namespace tavo
