#include "app/player_mpris.h"

#include "app/main_logic.h"
#include "lyrics/lyric_timing.h"
#include "lyrics/lyrics_view.h"
#include "platform/media_player.h"
#include "platform/mpris_service.h"

#include <algorithm>
#include <cmath>

namespace tavo {

namespace {

const QString kTitleArtistSeparator = QStringLiteral(" \u2508 ");
constexpr double kUsPerSecond = 1e6;

}  // namespace

void SplitDisplayText(const QString& display, QString* title, QStringList* artists) {
    const qsizetype at = display.indexOf(kTitleArtistSeparator);
    artists->clear();
    if (at < 0) {
        *title = display.trimmed();
        return;
    }
    *title = display.left(at).trimmed();
    const QString artist = display.mid(at + kTitleArtistSeparator.size()).trimmed();
    if (!artist.isEmpty()) artists->append(artist);
}

PlayerMpris::PlayerMpris(MainLogic& logic, const LyricsView* lyrics, Window window, QObject* parent)
    : QObject(parent), logic_(logic), lyrics_(lyrics), window_(std::move(window)) {}

void PlayerMpris::Watch(platform::MprisService& service) {
    service_ = &service;
    songKey_ = SongKey();
    // The logic notes every change of what the window shows once per turn of
    // the event loop; the player every change of its state.
    connect(&logic_, &MainLogic::Changed, this, &PlayerMpris::Update);
    connect(&logic_.Player(), &platform::MediaPlayer::PlayStateChange, this, &PlayerMpris::Update);
}

QString PlayerMpris::SongKey() const {
    if (logic_.PlayIndex < 0) return {};
    return QStringLiteral("%1/%2/").arg(logic_.PlaySource).arg(logic_.PlayIndex) + logic_.PlayingName();
}

void PlayerMpris::Update() {
    const QString key = SongKey();
    if (key != songKey_) {
        songKey_ = key;
        ++songSerial_;
        lyricLine_.clear();
    }
    // The lyric line as the watch loop finds it: the first line holding the
    // position's mm:ss; between two lines the last one found stays.
    if (lyrics_ && logic_.PlaySource != 1 && Status() != platform::MprisStatus::Stopped) {
        const QStringList& lines = lyrics_->list1();
        const int k = ListIdx(lines, logic_.Player().controls().currentPositionString(), static_cast<int>(lines.size()));
        if (k >= 0) lyricLine_ = LyricLineText(lines[k]);
    }
    if (service_) service_->Refresh();
}

platform::MprisStatus PlayerMpris::Status() const {
    // The watch loop runs exactly while a song plays (or is being opened).
    if (logic_.PlayIndex >= 0 && logic_.PlayTime.isActive()) return platform::MprisStatus::Playing;
    if (logic_.PlayIndex >= 0 && logic_.Player().playState() == platform::kPlayPaused)
        return platform::MprisStatus::Paused;
    return platform::MprisStatus::Stopped;
}

platform::MprisTrack PlayerMpris::Track() const {
    platform::MprisTrack t;
    if (logic_.PlayIndex < 0 || songKey_.isEmpty()) return t;
    t.id = QStringLiteral("song%1").arg(songSerial_);
    SplitDisplayText(logic_.PlayingName(), &t.title, &t.artists);
    const double seconds = logic_.Player().currentMedia().duration();
    if (std::isfinite(seconds) && seconds > 0) t.lengthUs = static_cast<qint64>(seconds * kUsPerSecond);
    t.url = logic_.Player().URL();
    t.lyricLine = lyricLine_;
    return t;
}

qint64 PlayerMpris::PositionUs() const {
    const double seconds = logic_.Player().controls().currentPosition();
    return std::isfinite(seconds) && seconds > 0 ? static_cast<qint64>(seconds * kUsPerSecond) : 0;
}

double PlayerMpris::Volume() const { return std::clamp(logic_.Player().settings().volume(), 0, 100) / 100.0; }

platform::MprisAbilities PlayerMpris::Can() const {
    const platform::MprisStatus s = Status();
    platform::MprisAbilities can;
    can.play = logic_.PlayIndex > -1;  // the play button needs a chosen song
    can.pause = s == platform::MprisStatus::Playing;
    can.next = !logic_.PlayListText.isEmpty();
    can.previous = logic_.PlayIndex > 0;
    // The window seeks only a playing or paused song; stations have no end.
    const int state = logic_.Player().playState();
    can.seek = logic_.PlaySource != 1 && logic_.Player().currentMedia().duration() > 0 &&
               (state == platform::kPlayPlaying || state == platform::kPlayPaused);
    return can;
}

// The window's buttons: 0 play, 1 stop, 2 previous, 3 next, 4 pause.
void PlayerMpris::Play() { logic_.PlayS_Click(0); }
void PlayerMpris::Pause() { logic_.PlayS_Click(4); }
void PlayerMpris::Stop() { logic_.PlayS_Click(1); }
void PlayerMpris::Next() { logic_.PlayS_Click(3); }
void PlayerMpris::Previous() { logic_.PlayS_Click(2); }

void PlayerMpris::SetPositionUs(qint64 us) {
    if (!Can().seek) return;
    logic_.Player().controls().setCurrentPosition(static_cast<double>(us) / kUsPerSecond);
}

void PlayerMpris::SetVolume(double volume) {
    const int v = static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100));
    logic_.Player().settings().setVolume(v);
    if (logic_.hooks.PlaceVolumeKnob) logic_.hooks.PlaceVolumeKnob(v);
}

void PlayerMpris::Raise() {
    if (window_.raise) window_.raise();
}

void PlayerMpris::Quit() {
    if (window_.quit) window_.quit();
}

}  // namespace tavo
