#pragma once
// The shell attached to the player: the tray window with every menu, the
// splash shown while the main window loads, and the update notices of the
// main window's link label. Made right after the main window and before
// its start-up (MainForm::Load), it fills the core's hooks:
//
//   ShowSplash       the splash, which shows the main window once loaded
//   FillSkinMenu     the skin list of the tray menu
//   SetTrayChecks    the tray menu's check marks
//   UpApp            the update check (`UpDown`, a third download control)
//   TrayAvailable    whether the tray icon can bring a hidden window back
//   PopupListMenu    the list's three right-click menus
//   ShowSettingsMenu the settings button PageA(9)
//   RemoveTrayIcon   the exit path's last step before the end
//
// and it is the ShellHost through which the menus reach the core.

#include "app/update_check.h"
#include "shell/ico_bar_s.h"
#include "shell/shell_host.h"

#include <QObject>

#include <memory>

namespace tavo {

class MainForm;
class OnlineWindows;
class PlayerCore;
class welcome;

// The splash shown at once, before the player and the main window are
// made; it waits until ShellMain takes it over.
std::unique_ptr<welcome> ShowEarlySplash();

class ShellMain : public QObject, public ShellHost {
    Q_OBJECT
public:
    // Puts the tray icon up at once. `window` must outlive the shell.
    // `splash`, when given, is the splash already shown (ShowEarlySplash):
    // the start-up takes it over instead of making one.
    explicit ShellMain(MainForm& window);
    ShellMain(MainForm& window, std::unique_ptr<welcome> splash);
    ~ShellMain() override;

    icoBarS& Tray() { return tray_; }
    UpdateCheck& Update() { return update_; }
    welcome* Splash() const { return splash_.get(); }
    OnlineWindows& Online() { return *online_; }

    // ShellHost
    QWidget* MainWindow() override;
    bool IsShown() const override;
    void SetIsShown(bool shown) override;
    QString AppTitle() const override;
    QString AppVersion() const override;
    QString CurrentSkin() const override;
    void GoSkin(const QString& name) override;
    void ShowLyrics(bool show) override;
    bool LyricsLocked() const override;
    void SetLyricsLocked(bool locked) override;
    int SourceIndex() const override;
    int SelIndex() const override;
    int ListCount() const override;
    QString ListItem(int index) const override;
    int PlaySource() const override;
    int PlayIndex() const override;
    void SetPlayIndex(int index) override;
    bool YNPlaySongList() const override;
    void MySongList() override;
    void Play_List() override;
    void PlayStop() override;
    std::filesystem::path FavouritesPath() const override;
    void ExitProgram() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void ShowSplash();

    MainForm& w_;
    PlayerCore& c_;
    icoBarS tray_;
    UpdateCheck update_;
    std::unique_ptr<welcome> splash_;
    std::unique_ptr<OnlineWindows> online_;
};

}  // namespace tavo
