#pragma once
// Playback: the songs of the play list become the media player's address,
// the player buttons, next / previous / stop, and the 200 ms watch loop that
// shows the time, the progress and the lyric line and moves on when a song
// fails or ends.
//
// One sequence starts a song (StartSong), with the one rule for where its
// address comes from (PlayList::PlaysDirectly: the radio file and the radio
// playlist play their own addresses, every other list searches). Every
// start and every stop begins a new song tag (a request identity,
// platform/request_slot.h), which the link search, the lyrics fetch and the
// radio playlist's refill carry: what arrives for an earlier song is
// dropped.
//
// When a whole pass over the list finds nothing that plays (every song
// given up in turn since anything last played or the user last chose a
// song), playback stops with "列表中没有可播放的歌曲" and waits for the user.

#include "app/play_list.h"
#include "platform/request_slot.h"

#include <QObject>
#include <QTimer>

#include <cstdint>

namespace tavo {

class PlayerCore;

enum class PlaybackStatus { Stopped, Playing, Paused };

class Playback : public QObject {
    Q_OBJECT
public:
    explicit Playback(PlayerCore& core);

    PlayList play;       // the list being played
    int PlayIndex = -1;  // its current song; -1 when none is chosen
    QTimer PlayTime;     // the 200 ms watch, on while a song plays

    // Starts song `index` of the play list: stops whatever was pending for
    // the song before, then plays its own address or searches for it.
    // `chosen` (the user's choice, or a list that just arrived) starts a
    // fresh count of songs given up.
    void StartSong(int index, bool chosen = true);
    // Replaces the play list by a new batch and plays its first song.
    void PlayNewBatch(PlayList next);

    void MMP_Play();
    void Go_Play();
    void PlayNext();
    void PlayLast();
    void PlayStop();
    void PlayS_Click(int Index);
    void PlayTo();
    void playIcoCheck();
    bool YNPlaySong(int isPlayIndex) const;
    bool YNPlaySongPage() const;
    bool YNPlaySongList() const;
    void PlayTime_Timer();
    // Moves the playing (or paused) song to `seconds`; the progress shows it
    // at once.
    void SeekTo(double seconds);

    // The playing song's display text (empty when none is chosen).
    QString PlayingName() const { return play.Name(PlayIndex); }
    // For the tray and the desktop bus.
    PlaybackStatus Status() const { return status_; }
    RequestId SongTag() const { return song_.Current(); }
    // The address the player was given for the current song; empty while it
    // is searched for, and after Stop. (The player itself still holds the
    // song before's address during a search.)
    const QString& OpenedUrl() const { return openedUrl_; }

Q_SIGNALS:
    void PlaybackStatusChanged(PlaybackStatus status);
    // A new song became current (it may still be searched for).
    void CurrentSongChanged(const QString& displayText);

private:
    void ShowProgress(double position, double length);
    void Advance();         // the next song after one ended or was given up
    void GiveUpSong();      // the current song cannot be played
    void SetPlaybackStatus(PlaybackStatus status);
    void SetStatusLine(const QString& text);

    PlayerCore& c_;
    RequestSlot song_;  // the song tag
    QString openedUrl_;
    int givenUp_ = 0;  // songs given up in a row
    bool pauseHeld_ = false;  // Pause was pressed while the song was searched for
    PlaybackStatus status_ = PlaybackStatus::Stopped;
};

}  // namespace tavo
