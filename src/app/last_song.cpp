#include "app/last_song.h"

#include "app/player_core.h"
#include "platform/core/media_player.h"

#include <QTimer>

#include <cmath>

namespace tavo {

namespace {

constexpr int kWaitForListMs = 60000;

}  // namespace

std::optional<ResumePoint> CurrentResumePoint(PlayerCore& c) {
    const PlayList& play = c.playback.play;
    const int index = c.PlayIndex;
    if (index < 0 || index >= play.Count()) return std::nullopt;
    // A station tried from the directory belongs to no list that could show
    // it again.
    if (play.period < -1 || play.entry < -1) return std::nullopt;
    ResumePoint point;
    point.source = play.source;
    point.period = play.period;
    point.entry = play.entry;
    point.index = index;
    point.entryText = play.Name(index);
    point.link = play.Link(index);
    // Only a song with a length has a place to come back to; a stream
    // cannot be sought.
    const double length = c.Player().currentMedia().duration();
    if (c.playback.Status() != PlaybackStatus::Stopped && !play.PlaysDirectly() && std::isfinite(length) &&
        length > 0) {
        const double seconds = c.Player().controls().currentPosition();
        if (std::isfinite(seconds) && seconds > 0) point.positionMs = static_cast<int>(std::lround(seconds * 1000));
    }
    return point;
}

void SaveLastSong(PlayerCore& c) { SaveResumePoint(ResumeEnabled() ? CurrentResumePoint(c) : std::nullopt); }

int ResumeSourceAtStart(PlayerCore& c, int defaultIndex) {
    const std::optional<ResumePoint> point = LoadResumePoint();
    // The lists that come back are those without a chart's period and entry.
    if (!point || point->source < 0 || KindOfSource(point->source) == SourceKind::Chart ||
        point->source >= c.gsl.PHcombo.ListCount())
        return defaultIndex;
    new LastSongBack(c, *point);
    return point->source;
}

LastSongBack::LastSongBack(PlayerCore& core, ResumePoint point)
    : QObject(&core), c_(core), point_(std::move(point)), autoPlay_(core.AutoPlay) {
    // The list's arrival must not start its first song.
    c_.AutoPlay = false;
    connect(&c_, &PlayerCore::Changed, this, &LastSongBack::Check);
    QTimer::singleShot(kWaitForListMs, this, &LastSongBack::Finish);
    // The favourites and the radio file are read at once: look after this turn.
    QTimer::singleShot(0, this, &LastSongBack::Check);
}

void LastSongBack::Check() {
    if (seekTag_ != 0) return;
    if (c_.Selection() != point_.source) {
        Finish();  // the user chose another list
        return;
    }
    if (c_.list.Count() > 0) Apply();
}

void LastSongBack::Apply() {
    const std::optional<int> row = ResumeRow(point_, c_.list.Entries(), c_.list.Links());
    if (!row) {
        // The song is gone: the list starts as it would have without it.
        const bool play = autoPlay_;
        Finish();
        if (play) c_.list.PlayViewed(0);
        return;
    }
    c_.gsl.CurPage = static_cast<std::int16_t>(*row / 10);
    c_.GoPage();
    if (!autoPlay_) {
        Finish();
        return;
    }
    autoPlay_ = false;  // it plays now: nothing more to start
    c_.list.PlayViewed(*row);
    seekTag_ = c_.playback.SongTag();
    connect(&c_.Player(), &platform::MediaPlayer::PlayStateChange, this, [this](int state) {
        if (c_.playback.SongTag() != seekTag_) {
            Finish();  // another song was chosen meanwhile
            return;
        }
        if (state != platform::kPlayPlaying) return;
        const double duration = c_.Player().currentMedia().duration();
        const int durationMs = std::isfinite(duration) && duration > 0 ? static_cast<int>(duration * 1000) : 0;
        const int at = ResumePositionMs(point_, durationMs);
        if (at > 0 && durationMs > 0) c_.Player().controls().setCurrentPosition(at / 1000.0);
        Finish();
    });
}

void LastSongBack::Finish() {
    if (autoPlay_) c_.AutoPlay = true;
    autoPlay_ = false;
    disconnect(&c_, nullptr, this, nullptr);
    deleteLater();
}

}  // namespace tavo
