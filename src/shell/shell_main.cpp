#include "shell/shell_main.h"

#include "app/favourite_play.h"
#include "app/list_files.h"
#include "app/ui/main_form.h"
#include "lyrics/ui/lrc_box.h"
#include "shell/online_windows.h"
#include "shell/welcome.h"
#include "sources/services.h"

#include <QCoreApplication>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>

namespace tavo {

std::unique_ptr<welcome> ShowEarlySplash() {
    auto splash = std::make_unique<welcome>(welcome::Hooks{}, QStringLiteral(TAVO_HOME_PAGE));
    splash->Form_Load();
    QCoreApplication::processEvents();  // on the screen before anything else loads
    return splash;
}

ShellMain::ShellMain(MainForm& window) : ShellMain(window, nullptr) {}

ShellMain::ShellMain(MainForm& window, std::unique_ptr<welcome> splash)
    : w_(window), c_(window.core()), tray_(*this), splash_(std::move(splash)) {
    setObjectName(QStringLiteral("shell"));
    MainHooks& h = c_.hooks;
    h.ShowSplash = [this] { ShowSplash(); };
    h.FillSkinMenu = [this](const QStringList& skins) { tray_.FillSkinMenu(skins); };
    h.SetTrayChecks = [this](bool closeQuits, bool runPlay) { tray_.SetTrayChecks(closeQuits, runPlay); };
    h.UpApp = [this] {
        update_.AppVersion = c_.AppVersion;
        update_.UpApp();
    };
    h.TrayAvailable = [this] { return tray_.TrayAvailable(); };
    h.PopupListMenu = [this](const QString& menu, QPoint at) {
        tray_.PopupListMenu(menu, w_.Picture1()->mapToGlobal(at));
    };
    h.ShowSettingsMenu = [this] { tray_.PopupSetMenu(icoBarS::SetMenuFrom::SettingsButton, QCursor::pos()); };
    h.RemoveTrayIcon = [this] { tray_.RemoveIcon(); };
    w_.LyricsMenu = [this](const QPoint& global) { tray_.PopupSetMenu(icoBarS::SetMenuFrom::LyricsWindow, global); };
    tray_.LocalMusic().PlayLink = [this](const QString& link) { PlayFavourite(c_, link); };
    online_ = std::make_unique<OnlineWindows>(c_, &w_);
    tray_.SearchLyrics = [this] { online_->ShowLyricsSearch(); };
    w_.LyricsSearch = [this] { online_->ShowLyricsSearch(); };
    tray_.OpenRadioDirectory = [this] { online_->ShowDirectory(); };

    // The link label shows the notices as plain text (they come from the
    // network) and opens the page of the one shown.
    QLabel* label1 = w_.Label(1);
    label1->setTextFormat(Qt::PlainText);
    label1->installEventFilter(this);
    connect(&update_, &UpdateCheck::Label1Changed, label1, &QLabel::setText);

    tray_.Form_Load();
}

ShellMain::~ShellMain() {
    MainHooks& h = c_.hooks;
    for (auto* hook : {&h.ShowSplash, &h.UpApp, &h.ShowSettingsMenu, &h.RemoveTrayIcon}) *hook = nullptr;
    h.FillSkinMenu = nullptr;
    h.SetTrayChecks = nullptr;
    h.TrayAvailable = nullptr;
    h.PopupListMenu = nullptr;
    w_.LyricsMenu = nullptr;
    w_.LyricsSearch = nullptr;
    tray_.SearchLyrics = nullptr;
    tray_.OpenRadioDirectory = nullptr;
    w_.Label(1)->removeEventFilter(this);
}

bool ShellMain::eventFilter(QObject* watched, QEvent* e) {
    if (watched == w_.Label(1) && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        update_.Label1_Click();
        return true;
    }
    return QObject::eventFilter(watched, e);
}

// The splash comes up first and shows the main window once it has loaded.
void ShellMain::ShowSplash() {
    welcome::Hooks hooks;
    hooks.LoadDone = [this] { return FromBool16(c_.LoadDone); };
    // The window's own showing: centred, its screen watched for another
    // pixel ratio, the lyrics window with it when "LrcShow" asks (the menu's
    // check mark already follows that setting).
    hooks.ShowMain = [this] {
        w_.ShowAfterLoad();
        w_.raise();
        w_.activateWindow();
    };
    // Shown already (ShowEarlySplash), or shown now, painted before loading
    // goes on; from its next tick it waits for this window.
    if (!splash_) splash_ = ShowEarlySplash();
    splash_->SetHooks(std::move(hooks));
}

// ---------------------------------------------------------------- ShellHost

QWidget* ShellMain::MainWindow() { return &w_; }
bool ShellMain::IsShown() const { return FromBool16(c_.IsShown); }
void ShellMain::SetIsShown(bool shown) { c_.IsShown = ToBool16(shown); }
// Before start-up has set it, the title is still the program's.
QString ShellMain::AppTitle() const { return c_.AppTitle.isEmpty() ? kAppTitle : c_.AppTitle; }
QString ShellMain::AppVersion() const { return c_.AppVersion; }

QString ShellMain::CurrentSkin() const { return c_.CurrentSkin; }
void ShellMain::GoSkin(const QString& name) { w_.goSkin(name); }
void ShellMain::ShowLyrics(bool show) { w_.lyrics().ShowLyrics(show); }
bool ShellMain::LyricsLocked() const { return w_.lyrics().IsLocked(); }
void ShellMain::SetLyricsLocked(bool locked) { w_.lyrics().SetLocked(locked); }
int ShellMain::SourceIndex() const { return c_.Selection(); }
int ShellMain::SelIndex() const { return c_.SelIndex; }
int ShellMain::ListCount() const { return c_.list.Count(); }
QString ShellMain::ListItem(int index) const { return c_.list.Entry(index); }
int ShellMain::PlaySource() const { return c_.PlaySource; }
int ShellMain::PlayIndex() const { return c_.PlayIndex; }
void ShellMain::SetPlayIndex(int index) {
    c_.PlayIndex = index;
    c_.playback.playIcoCheck();
}
bool ShellMain::YNPlaySongList() const { return c_.YNPlaySongList(); }

void ShellMain::MySongList() { c_.MySongList(); }
void ShellMain::Play_List() { c_.Play_List(); }
void ShellMain::PlayStop() { c_.PlayStop(); }
std::filesystem::path ShellMain::FavouritesPath() const { return FavouritesFile(); }
void ShellMain::ExitProgram() { c_.exit.Exit(); }

}  // namespace tavo
