#pragma once
// The tray window `icoBarS`: never seen itself, it owns the tray icon and
// every pop-up menu of the program, and its menu handlers carry out the
// commands: showing the main window, skins, the close button's behaviour,
// the play options, the lyrics window, the about window, exit, and the
// favourites.
//
// Menus (QMenu) and their items (QAction) carry the names the rest of the
// program uses ("M_set", "M_ShowMain", ...) as object names:
//   M_set "设置": M_ShowMain, M_Skin (M_skin_List..., lineSS, M_Skin_Edit),
//     M_closeS (M_closeY, M_closeN), M_PlaySet (M_PlayListIndex, M_RunPlay, M_Resume),
//     M_Lrc_Show, M_Lrc_Search (from the lyrics window only), M_RadioDirectory,
//     lineS2, M_about, M_line3, M_Exit
//   M_RightClick "列表右键": M_AddMySongList, M_ReUrl
//   M_RadioRight "电台列表右键": M_RadioRight_Directory
//   M_MySongRight "收藏列表右键": M_DelMySong, M_MySongClear,
//     M_MySongRight_line, M_MySongRight_Import, M_MySongRight_Export
//   M_MySongRightS "收藏列表右键S": M_M_MySongRightS_BDF,
//     M_M_MySongRightS_BDD, M_M_MySongRightS_Import, M_M_MySongRightS_Export,
//     M_M_MySongRightS_line, M_M_MySongRightS_Clear
//
// Without a tray (none on the desktop, or the icon did not appear) the
// program stays usable: TrayAvailable() says so, the close button then
// minimises instead of hiding, and the settings button reaches every menu.

#include "shell/favourites_commands.h"
#include "shell/local_music_commands.h"
#include "shell/shell_host.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;

namespace tavo {

class about;

class icoBarS : public QObject {
    Q_OBJECT
public:
    // Where M_set pops up from; each shows a different part of it.
    enum class SetMenuFrom {
        Tray,            // M_ShowMain shown; close and play options hidden
        SettingsButton,  // M_ShowMain hidden; close and play options shown
        LyricsWindow,    // M_ShowMain and play options shown; close options hidden
    };

    // `host` must outlive the tray window.
    explicit icoBarS(ShellHost& host, QObject* parent = nullptr);
    ~icoBarS() override;

    // Puts the icon into the tray (with the application title as its tip).
    void Form_Load();
    // Takes the icon out of the tray (the exit path calls it).
    void RemoveIcon();
    // Whether a tray shows the icon: the desktop has a tray and the icon is in it.
    bool TrayAvailable() const;

    // Start-up: the skin folders as the skin list (the first reuses item 0),
    // and the check marks from the settings.
    void FillSkinMenu(const QStringList& skins);
    void SetTrayChecks(bool closeQuits, bool runPlay);
    // Checks the skin item whose caption is the current skin, unchecks the others.
    void ValueDefault();
    // Loads the named skin and makes it current.
    void goSkin(const QString& skin_Name);

    // M_set as shown from `from`, then popped up at `global`.
    void PrepareSetMenu(SetMenuFrom from);
    void PopupSetMenu(SetMenuFrom from, const QPoint& global);
    // One of the list menus ("M_RightClick", "M_MySongRight",
    // "M_MySongRightS") at `global`.
    void PopupListMenu(const QString& name, const QPoint& global);

    // The tray icon's clicks: left toggles the main window, right pops M_set.
    void TrayActivated(QSystemTrayIcon::ActivationReason reason);

    // Menus and items by name; skin items by index.
    QMenu* Menu(const QString& name) const;
    QAction* Item(const QString& name) const;
    QAction* SkinItem(int index) const;
    int SkinItemCount() const { return static_cast<int>(skinItems_.size()); }
    QSystemTrayIcon& TrayIcon() { return tray_; }
    FavouritesCommands& Favourites() { return favourites_; }
    // Folders, playlists in and out, and what the player is handed to open.
    LocalMusicCommands& LocalMusic() { return localMusic_; }
    // The about window while it is open.
    about* AboutWindow() const;

    // The open services' windows: "搜索歌词…" and "电台目录…" (nothing
    // happens while unset).
    std::function<void()> SearchLyrics;
    std::function<void()> OpenRadioDirectory;

    // Menu handlers.
    void M_ShowMain_Click();
    void M_skin_List_Click(int index);
    void M_Skin_Edit_Click();
    void M_closeY_Click();
    void M_closeN_Click();
    void M_PlayListIndex_Click();
    void M_RunPlay_Click();
    void M_Resume_Click();
    void M_Lrc_Show_Click();
    void M_about_Click();
    void M_Exit_Click();

private:
    QMenu* NewMenu(const QString& name, const QString& caption, QMenu* parent);
    QAction* NewItem(QMenu* menu, const QString& name, const QString& caption, std::function<void()> handler);
    void NewSeparator(QMenu* menu, const QString& name);
    void BuildMenus();
    QAction* AddSkinItem(const QString& caption);
    // "导入播放列表…" and "导出收藏列表…", named prefix + "_Import" / "_Export".
    void AddPlaylistItems(QMenu* menu, const QString& prefix);
    void SetCloseChecks(bool closeQuits);
    void ShowMainNormal();

    ShellHost& host_;
    FavouritesCommands favourites_;
    LocalMusicCommands localMusic_;
    QSystemTrayIcon tray_;
    std::vector<std::unique_ptr<QMenu>> popups_;  // the top-level menus
    QHash<QString, QMenu*> menus_;
    QHash<QString, QAction*> items_;
    std::vector<QAction*> skinItems_;
    QPointer<about> about_;
};

}  // namespace tavo
