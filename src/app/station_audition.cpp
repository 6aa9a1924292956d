#include "app/station_audition.h"

#include "app/player_core.h"

namespace tavo {

namespace {

constexpr int kRadioSource = 1;
// No selector ever stands at this index, so the station is never "the
// viewed list's" song.
constexpr std::int16_t kNoSelection = -2;

}  // namespace

void PlayStationNow(PlayerCore& core, const QString& name, const QString& address) {
    PlayList station;
    station.entries = {name};
    station.links = {address};
    station.source = kRadioSource;
    station.period = kNoSelection;
    station.entry = kNoSelection;
    core.playback.PlayStop();
    core.playback.PlayNewBatch(std::move(station));
}

void StationListChanged(PlayerCore& core) {
    if (core.Selection() != kRadioSource) return;
    const bool autoPlay = core.AutoPlay;
    const std::int16_t page = core.CurPage;
    core.AutoPlay = false;
    core.radioList();
    core.AutoPlay = autoPlay;
    if (page > 0 && page * 10 < core.list.Count()) {
        core.CurPage = page;
        core.GoPage();
    }
}

}  // namespace tavo
