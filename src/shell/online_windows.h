#pragma once
// The open services' windows, opened from the menus: the station directory
// ("电台目录…", from the station list's right-click menu and the settings
// menu) and the lyrics library's search for the playing song ("搜索歌词…",
// from the lyrics window's menu).
//
// A station the directory window plays ("试听") plays at once; a station
// added to "radio.txt" shows in the station list at once when that list is
// shown. A lyric picked in the search becomes the song's lyric at once and
// stays its lyric on later plays.

#include <QObject>
#include <QPointer>

class QWidget;

namespace tavo {

class LyricsSearchDialog;
class PlayerCore;
class RadioDirectoryWindow;

class OnlineWindows : public QObject {
    Q_OBJECT
public:
    // `owner` (the main window) and `core` must outlive this object.
    OnlineWindows(PlayerCore& core, QWidget* owner);
    ~OnlineWindows() override;

    // Shows the directory window (made on first use) in front.
    void ShowDirectory();
    // Opens the lyrics search for the song playing now; says so when none
    // plays (a station has no lyrics to search).
    void ShowLyricsSearch();

    RadioDirectoryWindow* Directory() const;
    LyricsSearchDialog* LyricsSearch() const;

private:
    PlayerCore& core_;
    QWidget* owner_;
    QPointer<RadioDirectoryWindow> directory_;
    QPointer<LyricsSearchDialog> search_;
};

}  // namespace tavo
