#pragma once
// What the lyrics window needs of the main window. The main window
// implements it; tests use a stand-in.

#include <QPoint>
#include <QString>

#include <cstdint>

class QWidget;

namespace tavo {

class LyricsHost {
public:
    virtual ~LyricsHost() = default;

    // The player buttons: 0 play, 1 stop, 2 previous, 3 next, 4 pause,
    // 5 mute, 6 unmute.
    virtual void PlayS_Click(int Index) = 0;
    // Whether a song plays (glyph button 0 pauses it then, else plays).
    virtual bool IsPlaying() const = 0;
    // Whether the media player is muted (`settings.mute`).
    virtual bool IsMuted() const = 0;

    // The main window itself (shown, hidden, restored by glyph button 5),
    // and its IsShown flag.
    virtual QWidget* MainWindow() = 0;
    virtual bool IsShown() const = 0;
    virtual void SetIsShown(bool shown) = 0;

    // Right-click on the lyrics window: the tray's settings menu at `global`
    // (does nothing until the tray exists).
    virtual void ShowSettingsMenu(const QPoint& global) = 0;

    // For the lyric drawn by time: the play position in ms (-1 when nothing
    // plays), a seek to a line, the playing song's identity (its offset is
    // kept under it) and the application name its settings are kept under
    // (empty: nothing is read or saved).
    virtual int PlayPositionMs() const { return -1; }
    virtual void SeekToMs(int positionMs) { (void)positionMs; }
    virtual QString PlayingSong() const { return {}; }
    virtual QString SettingsName() const { return {}; }
    // "搜索歌词…": the lyrics library's choices for the playing song.
    virtual void SearchLyrics() {}
};

}  // namespace tavo
