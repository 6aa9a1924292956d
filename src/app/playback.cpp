#include "app/playback.h"

#include "app/now_playing.h"
#include "app/player_core.h"
#include "app/status_texts.h"
#include "lyrics/lrc_cleanup.h"
#include "lyrics/lyric_timing.h"
#include "lyrics/lyrics_view.h"
#include "platform/core/media_player.h"

#include <algorithm>

namespace tavo {

using platform::MediaPlayer;

Playback::Playback(PlayerCore& core) : c_(core) {
    PlayTime.setInterval(200);
    connect(&PlayTime, &QTimer::timeout, this, &Playback::PlayTime_Timer);
    // A fetch reports only while its song plays (the fetcher drops the rest).
    connect(&c_.songLyrics, &SongLyrics::Found, this, [this](const QString& name) {
        if (LyricsView* lrc = c_.Lyrics()) lrc->SetLabel1Text(LrcPlayingText(name));
        c_.SetLabel6(LrcPlayingText(name));
    });
    connect(&c_.songLyrics, &SongLyrics::NotFound, this, [this](const QString&, const QString& text) {
        if (LyricsView* lrc = c_.Lyrics()) lrc->SetLabel1Text(text);
    });
    LinkResolver& links = c_.links;
    connect(&links, &LinkResolver::Status, this, [this](const QString& text) { c_.SetStatus(text); });
    connect(&links, &LinkResolver::Resolved, this, [this](std::uint64_t tag) {
        if (!song_.Answers(tag)) return;
        c_.AutoPlay = false;
        MMP_Play();
        // Pause pressed while the song was searched for holds.
        if (pauseHeld_) PlayS_Click(4);
    });
    connect(&links, &LinkResolver::Unresolvable, this, [this](std::uint64_t tag) {
        if (!song_.Answers(tag)) return;
        c_.AutoPlay = false;
        GiveUpSong();
    });
    connect(&links, &LinkResolver::Retrying, this, [this](std::uint64_t tag) {
        if (!song_.Answers(tag)) return;
        PlayTime.stop();
        PlayTo();
    });
}

void Playback::SetPlaybackStatus(PlaybackStatus status) {
    if (status == status_) return;
    status_ = status;
    Q_EMIT PlaybackStatusChanged(status);
}

void Playback::SetStatusLine(const QString& text) { c_.SetStatus(text); }

void Playback::StartSong(int index, bool chosen) {
    if (chosen) givenUp_ = 0;
    pauseHeld_ = false;
    PlayIndex = index;
    song_.Begin();
    openedUrl_.clear();
    // Nothing pending for the song before may act on this one.
    c_.links.Cancel();
    c_.fetch.CancelRefill();
    Q_EMIT CurrentSongChanged(PlayingName());
    if (play.PlaysDirectly())
        MMP_Play();
    else
        Go_Play();
}

void Playback::PlayNewBatch(PlayList next) {
    play = std::move(next);
    StartSong(0, false);
}

void Playback::Go_Play() {
    const bool fav = play.Kind() == SourceKind::Favourites;
    c_.links.Resolve({song_.Current(), PlayingName(), fav ? play.Link(PlayIndex) : QString(), fav});
}

void Playback::MMP_Play() {
    // Search candidates were checked when they were found; a list's own
    // addresses are checked here, by where the list comes from, and opened
    // as checked (MayPlay reads them without surrounding spaces).
    const QString url = play.PlaysDirectly() ? play.Link(PlayIndex).trimmed() : c_.links.Candidate();
    if (play.PlaysDirectly() && !MayPlay(url, play.LinkOrigin())) {
        SetStatusLine(texts::kRefusedAddress);
        // The radio playlist goes on by itself, after this handler.
        if (play.Kind() == SourceKind::RadioPlaylist) {
            const RequestId tag = song_.Current();
            QMetaObject::invokeMethod(
                this, [this, tag] { if (song_.Answers(tag)) GiveUpSong(); }, Qt::QueuedConnection);
        }
        return;
    }
    MediaPlayer& mmp = c_.Player();
    LyricsView* lrc = c_.Lyrics();
    mmp.setURL(url);
    openedUrl_ = url;
    if (play.Kind() != SourceKind::RadioFile) {
        if (lrc) lrc->SetLabel1Text(LrcFetchingText());
        c_.songLyrics.Begin(PlayingName(), url, song_.Current());
    }
    mmp.controls().play();
    c_.ui.PlaySVisible[0] = false;
    c_.ui.Label6ToolTip = LrcPlayingText(PlayingName());
    if (lrc) {
        lrc->SetPlayGlyph(true);
        lrc->SetLabel1Text(c_.ui.Label6);
        lrc->SetSongToolTip(c_.ui.Label6ToolTip);
    }
    c_.Touch();
    PlayTime.start();
    playIcoCheck();
    SetPlaybackStatus(PlaybackStatus::Playing);
}

void Playback::PlayStop() {
    song_.Begin();
    openedUrl_.clear();
    c_.links.Cancel();
    c_.fetch.CancelRefill();
    c_.Player().controls().stop();
    c_.ui.PlaySVisible[0] = true;
    PlayTime.stop();
    c_.ui.Label6.clear();
    c_.ui.socl.clear();
    c_.ui.progressShown = false;
    c_.ui.position = c_.ui.length = 0.0;
    c_.ui.playingRow = -1;
    c_.songLyrics.Cancel();
    if (LyricsView* lrc = c_.Lyrics()) {
        lrc->SetPlayGlyph(false);
        lrc->SetLabel1Text(QString());
    }
    c_.Touch();
    SetPlaybackStatus(PlaybackStatus::Stopped);
}

void Playback::PlayNext() {
    givenUp_ = 0;
    Advance();
}

void Playback::Advance() {
    PlayStop();
    if (PlayIndex < play.Count() - 1) {
        StartSong(PlayIndex + 1, false);
        return;
    }
    // The end of the list: the radio playlist fetches its next batch, the
    // radio file stops, every other list starts again from the top.
    if (play.Kind() == SourceKind::RadioPlaylist) {
        c_.fetch.Refill(song_.Current());
    } else if (play.Kind() != SourceKind::RadioFile) {
        // Back to the first page with the first song; the viewed list follows
        // when it is the playing one (another viewed list keeps its page).
        const bool viewed = YNPlaySongList();
        play.page = 0;
        if (viewed && c_.gsl.CurPage != 0) {
            c_.gsl.CurPage = 0;
            c_.list.GoPage();
        }
        StartSong(0, false);
    }
}

void Playback::GiveUpSong() {
    if (++givenUp_ >= std::max(1, play.Count())) {
        givenUp_ = 0;
        PlayStop();
        SetStatusLine(texts::kNothingPlayable);
        return;
    }
    Advance();
}

void Playback::PlayLast() {
    PlayStop();
    if (PlayIndex > 0) StartSong(PlayIndex - 1);
}

void Playback::PlayS_Click(int Index) {
    MediaPlayer& mmp = c_.Player();
    LyricsView* lrc = c_.Lyrics();
    switch (Index) {
        case 0:
            if (PlayIndex < 0) break;
            // While the song is searched for, the player still holds the
            // song before: Play waits for the search, which plays.
            if (c_.links.Pending()) {
                pauseHeld_ = false;
                break;
            }
            mmp.controls().play();
            c_.ui.PlaySVisible[0] = false;
            PlayTime.start();
            playIcoCheck();
            if (lrc) lrc->SetPlayGlyph(true);
            SetPlaybackStatus(PlaybackStatus::Playing);
            break;
        case 1:
            PlayStop();
            break;
        case 2:
            PlayLast();
            break;
        case 3:
            PlayNext();
            break;
        case 4:
            // Kept until the search ends, then applied to the found song.
            pauseHeld_ = c_.links.Pending();
            mmp.controls().pause();
            c_.ui.PlaySVisible[0] = true;
            PlayTime.stop();
            if (lrc) lrc->SetPlayGlyph(false);
            SetPlaybackStatus(PlaybackStatus::Paused);
            break;
        case 5:
        case 6: {
            const bool mute = Index == 5;
            c_.ui.PlaySVisible[5] = !mute;
            c_.ui.PlaySVisible[6] = mute;
            mmp.settings().setMute(mute);
            if (lrc) lrc->SetMuteGlyph(mute);
            break;
        }
        default:
            break;
    }
    c_.Touch();
}

// The viewed playing list follows its song to the song's page.
void Playback::PlayTo() {
    if (PlayIndex > 0 && YNPlaySongList()) {
        c_.gsl.CurPage = play.page = static_cast<std::int16_t>(PlayIndex / 10);
        c_.list.GoPage();
    }
    c_.list.rdcheck();
}

bool Playback::YNPlaySongList() const {
    return c_.gsl.Combo1.ListIndex() == play.period && c_.gsl.Combo2.ListIndex() == play.entry &&
           c_.Selection() == play.source;
}

bool Playback::YNPlaySongPage() const { return c_.gsl.CurPage == play.page && YNPlaySongList(); }

bool Playback::YNPlaySong(int isPlayIndex) const { return YNPlaySongPage() && isPlayIndex == PlayIndex; }

void Playback::playIcoCheck() {
    c_.ui.playingRow = PlayIndex >= 0 && YNPlaySongPage() ? PlayIndex % 10 : -1;
    c_.Touch();
}

void Playback::SeekTo(double seconds) {
    c_.Player().controls().setCurrentPosition(seconds);
    c_.ui.position = seconds;
    c_.Touch();
}

// The position moves with every tick, but the window paints the fill with
// the time text, once a second: it is told with the text (and at once when
// the track appears or the length changes), not five times a second.
void Playback::ShowProgress(double position, double length) {
    MainControls& ui = c_.ui;
    const bool news = !ui.progressShown || ui.length != length;
    ui.progressShown = true;
    ui.position = position;
    ui.length = length;
    if (news) c_.Touch();
}

void Playback::PlayTime_Timer() {
    MediaPlayer& mmp = c_.Player();
    const int state = mmp.playState();
    const QString playing = LrcPlayingText(NowPlayingText(PlayingName(), mmp.streamTitle()));
    if (state == platform::kPlayPlaying) {
        givenUp_ = 0;  // the list holds something that plays
        const double duration = mmp.currentMedia().duration();
        const double position = mmp.controls().currentPosition();
        if (play.Kind() != SourceKind::RadioFile) ShowProgress(position, duration);
        const QString posText = mmp.controls().currentPositionString();
        const QString socl = QStringLiteral(" ") + posText + QStringLiteral(" / ") +
                             mmp.currentMedia().durationString() + QStringLiteral("  ");
        if (socl != c_.ui.socl) {
            c_.ui.socl = socl;
            c_.Touch();
        }
        if (play.Kind() != SourceKind::RadioFile && !c_.lyricLines.IsEmpty()) {
            const int k = c_.lyricLines.Follow(posText);
            if (k != -1) {
                const QString text = c_.lyricLines.Text(k);
                SetStatusLine(text.isEmpty() ? playing : text);
            }
        } else {
            SetStatusLine(QStringLiteral(" ") + playing);
        }
    } else {
        SetStatusLine(QStringLiteral(" ") + mmp.status() + QStringLiteral("  "));
    }
    // Failure watch: the next candidate, then the next song. A tick that
    // moved on does not also take the stop it caused for an end of song.
    if ((state == platform::kPlayUndefined || state == platform::kPlayWaiting || state == platform::kPlayReady) &&
        !play.PlaysDirectly()) {
        if (c_.links.NextCandidate())
            MMP_Play();
        else
            GiveUpSong();
        return;
    }
    if (mmp.playState() != platform::kPlayStopped) return;
    if (play.Kind() == SourceKind::RadioFile)
        SetPlaybackStatus(PlaybackStatus::Stopped);  // a station that ended stays ended
    else
        Advance();
}

}  // namespace tavo
