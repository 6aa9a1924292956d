#pragma once
// What the tray window and its menus need of the rest of the program: the
// main window and its list and play state, the lyrics window, the skin, and
// the one way out. The program binds it to the main window's logic; tests
// use a stand-in.
//
// Indices are list indices of the viewed list (`ListItems`), from 0.

#include <QString>

#include <filesystem>

class QWidget;

namespace tavo {

class ShellHost {
public:
    virtual ~ShellHost() = default;

    // ---- the main window
    virtual QWidget* MainWindow() = 0;
    virtual bool IsShown() const = 0;
    virtual void SetIsShown(bool shown) = 0;
    virtual QString AppTitle() const = 0;
    virtual QString AppVersion() const = 0;

    // ---- skins
    virtual QString CurrentSkin() const = 0;
    // Makes the named skin current and paints every window with it (the
    // title strip saying so while it loads), then redraws the song list.
    virtual void GoSkin(const QString& name) = 0;

    // ---- the lyrics window: shown at the top edge, centred, or hidden.
    virtual void ShowLyrics(bool show) = 0;
    // The lyrics window's lock ("锁定歌词"): the tray's item reads and sets it.
    virtual bool LyricsLocked() const { return false; }
    virtual void SetLyricsLocked(bool locked) { (void)locked; }

    // ---- the viewed list and the play state
    virtual int SourceIndex() const = 0;   // the source selector's list index
    virtual int SelIndex() const = 0;      // the row last right-clicked
    virtual int ListCount() const = 0;     // entries of the viewed list
    virtual QString ListItem(int index) const = 0;  // empty outside the list
    virtual int PlaySource() const = 0;
    virtual int PlayIndex() const = 0;
    // Moves the playing song (the playing-row marker follows).
    virtual void SetPlayIndex(int index) = 0;
    virtual bool YNPlaySongList() const = 0;
    virtual void MySongList() = 0;          // reload the favourites
    virtual void Play_List() = 0;           // snapshot the viewed list as the play list
    virtual void PlayStop() = 0;
    // The favourites file ("MySongList.txt" in the program folder).
    virtual std::filesystem::path FavouritesPath() const = 0;

    // ---- the way out: saves what is unsaved, removes the tray icon, ends.
    virtual void ExitProgram() = 0;
};

}  // namespace tavo
