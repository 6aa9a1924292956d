#include "app/player_mpris.h"

#include "app/now_playing.h"
#include "app/player_core.h"
#include "platform/core/media_player.h"
#include "platform/core/mpris_service.h"
#include "sources/get_song_list.h"

#include <algorithm>
#include <cmath>

namespace tavo {

namespace {

constexpr double kUsPerSecond = 1e6;

}  // namespace

void SplitDisplayText(const QString& display, QString* title, QStringList* artists) {
    const qsizetype at = display.indexOf(kTitleArtistSep);
    artists->clear();
    if (at < 0) {
        *title = display.trimmed();
        return;
    }
    *title = display.left(at).trimmed();
    const QString artist = display.mid(at + kTitleArtistSep.size()).trimmed();
    if (!artist.isEmpty()) artists->append(artist);
}

PlayerMpris::PlayerMpris(PlayerCore& core, Window window, QObject* parent)
    : QObject(parent), core_(core), window_(std::move(window)) {}

void PlayerMpris::Watch(platform::MprisService& service) {
    service_ = &service;
    // A new song and a new playback state come as signals of playback; the
    // length, the volume and the lyric line with the core's changes (once
    // per turn of the event loop) and the player's.
    connect(&core_.playback, &Playback::CurrentSongChanged, this, [this] {
        ++songSerial_;
        Update();
    });
    connect(&core_.playback, &Playback::PlaybackStatusChanged, this, &PlayerMpris::Update);
    connect(&core_, &PlayerCore::Changed, this, &PlayerMpris::Update);
    connect(&core_.Player(), &platform::MediaPlayer::PlayStateChange, this, &PlayerMpris::Update);
    connect(&core_.lyricLines, &LyricsModel::Changed, this, &PlayerMpris::Update);
    connect(&core_.Player(), &platform::MediaPlayer::StreamTitleChange, this, &PlayerMpris::Update);
}

void PlayerMpris::Update() {
    // The cover of what the player opened for this song, asked once per
    // address: not the song before's, which the player holds while the new
    // one is searched for.
    const QString& opened = core_.playback.OpenedUrl();
    if (!opened.isEmpty() && opened != coverFor_) {
        coverFor_ = opened;
        artUrl_ = coverSource_ ? coverSource_(opened) : QString();
    }
    if (service_) service_->Refresh();
}

platform::MprisStatus PlayerMpris::Status() const {
    switch (core_.playback.Status()) {
        case PlaybackStatus::Playing: return platform::MprisStatus::Playing;
        case PlaybackStatus::Paused: return platform::MprisStatus::Paused;
        case PlaybackStatus::Stopped: break;
    }
    return platform::MprisStatus::Stopped;
}

platform::MprisTrack PlayerMpris::Track() const {
    platform::MprisTrack t;
    if (core_.PlayIndex < 0) return t;
    t.id = QStringLiteral("song%1").arg(songSerial_);
    SplitDisplayText(core_.playback.PlayingName(), &t.title, &t.artists);
    // A stream's own title, while it announces one.
    if (const QString announced = core_.Player().streamTitle();
        !announced.isEmpty() && !core_.playback.OpenedUrl().isEmpty())
        SplitStreamTitle(announced, &t.title, &t.artists);
    const double seconds = core_.Player().currentMedia().duration();
    if (std::isfinite(seconds) && seconds > 0) t.lengthUs = static_cast<qint64>(seconds * kUsPerSecond);
    t.url = core_.Player().URL();
    // The whole lyric text once it is there.
    if (core_.PlaySource != 1) t.lyricText = core_.lyricLines.WholeText();
    if (!coverFor_.isEmpty() && coverFor_ == core_.playback.OpenedUrl()) t.artUrl = artUrl_;
    return t;
}

qint64 PlayerMpris::PositionUs() const {
    const double seconds = core_.Player().controls().currentPosition();
    return std::isfinite(seconds) && seconds > 0 ? static_cast<qint64>(seconds * kUsPerSecond) : 0;
}

double PlayerMpris::Volume() const { return std::clamp(core_.Player().settings().volume(), 0, 100) / 100.0; }

platform::MprisAbilities PlayerMpris::Can() const {
    const platform::MprisStatus s = Status();
    platform::MprisAbilities can;
    can.play = core_.PlayIndex > -1;  // the play button needs a chosen song
    can.pause = s == platform::MprisStatus::Playing;
    can.next = core_.playback.play.Count() > 0;
    can.previous = core_.PlayIndex > 0;
    // The window seeks only a playing or paused song; stations have no end.
    const int state = core_.Player().playState();
    can.seek = core_.PlaySource != 1 && core_.Player().currentMedia().duration() > 0 &&
               (state == platform::kPlayPlaying || state == platform::kPlayPaused);
    return can;
}

// The window's buttons: 0 play, 1 stop, 2 previous, 3 next, 4 pause.
void PlayerMpris::Play() { core_.PlayS_Click(0); }
void PlayerMpris::Pause() { core_.PlayS_Click(4); }
void PlayerMpris::Stop() { core_.PlayS_Click(1); }
void PlayerMpris::Next() { core_.PlayS_Click(3); }
void PlayerMpris::Previous() { core_.PlayS_Click(2); }

void PlayerMpris::SetPositionUs(qint64 us) {
    if (!Can().seek) return;
    core_.Player().controls().setCurrentPosition(static_cast<double>(us) / kUsPerSecond);
}

void PlayerMpris::SetVolume(double volume) {
    const int v = static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100));
    core_.Player().settings().setVolume(v);
    if (core_.hooks.PlaceVolumeKnob) core_.hooks.PlaceVolumeKnob(v);
}

void PlayerMpris::Raise() {
    if (window_.raise) window_.raise();
}

void PlayerMpris::Quit() {
    if (window_.quit) window_.quit();
}

}  // namespace tavo
