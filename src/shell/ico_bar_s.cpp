#include "shell/ico_bar_s.h"

#include "app/resume_state.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"
#include "shell/about.h"
#include "shell/local_music_dialogs.h"
#include "shell/open_file_dog.h"
#include "shell/shell_art.h"
#include "sources/services.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QWidget>

namespace tavo {

namespace {

const QString kConfig = QStringLiteral("Config");

void Call(const std::function<void()>& handler) {
    if (handler) handler();
}

long long ConfigNumber(const ShellHost& host, const QString& key) { return platform::ConfigNumber(host.AppTitle(), key); }

// Saves a setting; a value that could not be saved is reported, every time.
bool SaveConfig(const ShellHost& host, const QString& section, const QString& key, const QString& value) {
    if (platform::Settings().SaveSetting(host.AppTitle(), section, key, value)) return true;
    platform::ReportSettingNotSaved();
    return false;
}
bool SaveConfig(const ShellHost& host, const QString& key, const QString& value) {
    return SaveConfig(host, kConfig, key, value);
}

// A toggling item: the setting read as a number, written back as "0" when
// it was not 0 and "1" when it was; returns the state it has now (the old
// one when it could not be saved).
bool ToggleConfig(const ShellHost& host, const QString& key) {
    const bool on = ConfigNumber(host, key) == 0;
    return SaveConfig(host, key, on ? QStringLiteral("1") : QStringLiteral("0")) ? on : !on;
}

// A skin folder name as a menu caption ("&" would mark a shortcut key).
QString Caption(const QString& name) {
    QString text = name;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

icoBarS::icoBarS(ShellHost& host, QObject* parent)
    : QObject(parent), host_(host), favourites_(host), localMusic_(host) {
    setObjectName(QStringLiteral("icoBarS"));
    tray_.setObjectName(QStringLiteral("TrayIcon"));
    connect(&tray_, &QSystemTrayIcon::activated, this, &icoBarS::TrayActivated);
    localMusic_.ChooseFiles = [this] {
        std::int32_t maxLen = 255;
        const QString buffer =
            ShowOpen(host_.MainWindow(), QStringLiteral("打开"), kMusicFileFilter, 1, maxLen);
        if (buffer.isEmpty()) return QStringList();
        SplitSelection(buffer);
        return SelectedFiles();
    };
    localMusic_.ChooseFolder = [this] { return ChooseMusicFolder(host_.MainWindow()); };
    localMusic_.ChoosePlaylist = [this] { return ChoosePlaylistFile(host_.MainWindow()); };
    localMusic_.ChooseExportFile = [this] { return ChooseExportFile(host_.MainWindow()); };
    BuildMenus();
}

icoBarS::~icoBarS() {
    tray_.hide();
    delete about_.data();
}

QMenu* icoBarS::NewMenu(const QString& name, const QString& caption, QMenu* parent) {
    QMenu* menu = parent ? parent->addMenu(caption) : nullptr;
    if (!menu) {
        popups_.push_back(std::make_unique<QMenu>(caption));
        menu = popups_.back().get();
    }
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    menus_.insert(name, menu);
    items_.insert(name, menu->menuAction());
    return menu;
}

QAction* icoBarS::NewItem(QMenu* menu, const QString& name, const QString& caption,
                          std::function<void()> handler) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    items_.insert(name, item);
    if (handler)
        connect(item, &QAction::triggered, this, std::move(handler));
    else
        item->setEnabled(false);  // not available yet: does nothing
    return item;
}

void icoBarS::NewSeparator(QMenu* menu, const QString& name) {
    QAction* line = menu->addSeparator();
    line->setObjectName(name);
    items_.insert(name, line);
}

void icoBarS::BuildMenus() {
    QMenu* set = NewMenu(QStringLiteral("M_set"), QStringLiteral("设置"), nullptr);
    NewItem(set, QStringLiteral("M_ShowMain"), QStringLiteral("显示主窗体"), [this] { M_ShowMain_Click(); });
    QMenu* skin = NewMenu(QStringLiteral("M_Skin"), QStringLiteral("换肤"), set);
    NewSeparator(skin, QStringLiteral("lineSS"));
    NewItem(skin, QStringLiteral("M_Skin_Edit"), QStringLiteral("修改皮肤"), [this] { M_Skin_Edit_Click(); });
    AddSkinItem(QStringLiteral("默认皮肤"));
    QMenu* close = NewMenu(QStringLiteral("M_closeS"), QStringLiteral("点击关闭按扭时..."), set);
    NewItem(close, QStringLiteral("M_closeY"), QStringLiteral("退出程序"), [this] { M_closeY_Click(); })->setCheckable(true);
    NewItem(close, QStringLiteral("M_closeN"), QStringLiteral("最小化"), [this] { M_closeN_Click(); })->setCheckable(true);
    QMenu* play = NewMenu(QStringLiteral("M_PlaySet"), QStringLiteral("播放选项"), set);
    NewItem(play, QStringLiteral("M_PlayListIndex"), QStringLiteral("设置当前播放列表为默认"),
            [this] { M_PlayListIndex_Click(); });
    NewItem(play, QStringLiteral("M_RunPlay"), QStringLiteral("运行时自动播放"), [this] { M_RunPlay_Click(); })
        ->setCheckable(true);
    NewItem(play, QStringLiteral("M_Resume"), QStringLiteral("记住上次播放"), [this] { M_Resume_Click(); })
        ->setCheckable(true);
    NewItem(set, QStringLiteral("M_Lrc_Show"), QStringLiteral("显示歌词"), [this] { M_Lrc_Show_Click(); })
        ->setCheckable(true);
    NewItem(set, QStringLiteral("M_Lrc_Lock"), QStringLiteral("锁定歌词"),
            [this] { host_.SetLyricsLocked(!host_.LyricsLocked()); })
        ->setCheckable(true);
    NewItem(set, QStringLiteral("M_Lrc_Search"), QStringLiteral("搜索歌词…"), [this] { Call(SearchLyrics); });
    NewItem(set, QStringLiteral("M_RadioDirectory"), QStringLiteral("电台目录…"), [this] { Call(OpenRadioDirectory); });
    NewSeparator(set, QStringLiteral("lineS2"));
    NewItem(set, QStringLiteral("M_about"), QStringLiteral("关于"), [this] { M_about_Click(); });
    NewSeparator(set, QStringLiteral("M_line3"));
    NewItem(set, QStringLiteral("M_Exit"), QStringLiteral("退出程序"), [this] { M_Exit_Click(); });

    QMenu* list = NewMenu(QStringLiteral("M_RightClick"), QStringLiteral("列表右键"), nullptr);
    NewItem(list, QStringLiteral("M_AddMySongList"), QStringLiteral("添加到我的收藏"),
            [this] { favourites_.M_AddMySongList(); });
    NewItem(list, QStringLiteral("M_ReUrl"), QStringLiteral("换一个链接"), nullptr);

    QMenu* radio = NewMenu(QStringLiteral("M_RadioRight"), QStringLiteral("电台列表右键"), nullptr);
    NewItem(radio, QStringLiteral("M_RadioRight_Directory"), QStringLiteral("电台目录…"),
            [this] { Call(OpenRadioDirectory); });

    QMenu* mine = NewMenu(QStringLiteral("M_MySongRight"), QStringLiteral("收藏列表右键"), nullptr);
    NewItem(mine, QStringLiteral("M_DelMySong"), QStringLiteral("移除这首歌曲"), [this] { favourites_.M_DelMySong(); });
    NewItem(mine, QStringLiteral("M_MySongClear"), QStringLiteral("清空列表"), [this] { favourites_.M_MySongClear(); });
    NewSeparator(mine, QStringLiteral("M_MySongRight_line"));
    AddPlaylistItems(mine, QStringLiteral("M_MySongRight"));

    QMenu* mineS = NewMenu(QStringLiteral("M_MySongRightS"), QStringLiteral("收藏列表右键S"), nullptr);
    NewItem(mineS, QStringLiteral("M_M_MySongRightS_BDF"), QStringLiteral("添加本地文件"),
            [this] { localMusic_.AddFiles(); });
    NewItem(mineS, QStringLiteral("M_M_MySongRightS_BDD"), QStringLiteral("添加本地文件夹"),
            [this] { localMusic_.AddFolder(); });
    AddPlaylistItems(mineS, QStringLiteral("M_M_MySongRightS"));
    NewSeparator(mineS, QStringLiteral("M_M_MySongRightS_line"));
    NewItem(mineS, QStringLiteral("M_M_MySongRightS_Clear"), QStringLiteral("清空列表"), nullptr);
}

void icoBarS::AddPlaylistItems(QMenu* menu, const QString& prefix) {
    NewItem(menu, prefix + QStringLiteral("_Import"), QStringLiteral("导入播放列表…"),
            [this] { localMusic_.ImportPlaylist(); });
    NewItem(menu, prefix + QStringLiteral("_Export"), QStringLiteral("导出收藏列表…"),
            [this] { localMusic_.ExportFavourites(); });
}

QAction* icoBarS::AddSkinItem(const QString& name) {
    QMenu* skin = menus_.value(QStringLiteral("M_Skin"));
    auto* item = new QAction(Caption(name), skin);
    item->setObjectName(QStringLiteral("M_skin_List"));
    item->setData(name);
    item->setCheckable(true);
    skin->insertAction(items_.value(QStringLiteral("lineSS")), item);
    const int index = static_cast<int>(skinItems_.size());
    connect(item, &QAction::triggered, this, [this, index] { M_skin_List_Click(index); });
    skinItems_.push_back(item);
    return item;
}

about* icoBarS::AboutWindow() const { return about_.data(); }

QMenu* icoBarS::Menu(const QString& name) const { return menus_.value(name); }
QAction* icoBarS::Item(const QString& name) const { return items_.value(name); }
QAction* icoBarS::SkinItem(int index) const {
    return index >= 0 && index < SkinItemCount() ? skinItems_[static_cast<size_t>(index)] : nullptr;
}

// ---------------------------------------------------------------- tray icon

void icoBarS::Form_Load() {
    tray_.setIcon(ProgramIcon());
    tray_.setToolTip(host_.AppTitle());
    tray_.show();
}

void icoBarS::RemoveIcon() { tray_.hide(); }

bool icoBarS::TrayAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable() && tray_.isVisible(); }

void icoBarS::TrayActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Context) {
        PopupSetMenu(SetMenuFrom::Tray, QCursor::pos());
        return;
    }
    if (reason != QSystemTrayIcon::Trigger) return;
    QWidget* main = host_.MainWindow();
    if (!main) return;
    if (main->isMinimized()) {
        main->showNormal();
        main->activateWindow();
        return;
    }
    if (!host_.IsShown()) {
        main->show();
        main->raise();
        main->activateWindow();
        host_.SetIsShown(true);
    } else {
        main->hide();
        host_.SetIsShown(false);
    }
    main->setWindowState(main->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
}

// ---------------------------------------------------------------- M_set

void icoBarS::FillSkinMenu(const QStringList& skins) {
    for (int i = 0; i < skins.size(); ++i) {
        if (i < SkinItemCount()) {
            skinItems_[static_cast<size_t>(i)]->setText(Caption(skins[i]));
            skinItems_[static_cast<size_t>(i)]->setData(skins[i]);
        } else {
            AddSkinItem(skins[i]);
        }
    }
    // A shorter list than before (never shorter than item 0).
    while (SkinItemCount() > std::max<qsizetype>(1, skins.size())) {
        delete skinItems_.back();
        skinItems_.pop_back();
    }
    ValueDefault();
}

void icoBarS::SetTrayChecks(bool closeQuits, bool runPlay) {
    SetCloseChecks(closeQuits);
    Item(QStringLiteral("M_RunPlay"))->setChecked(runPlay);
    Item(QStringLiteral("M_Resume"))->setChecked(ResumeEnabled());
    Item(QStringLiteral("M_Lrc_Show"))->setChecked(ConfigNumber(host_, QStringLiteral("LrcShow")) != 0);
}

void icoBarS::ValueDefault() {
    const QString current = host_.CurrentSkin();
    for (QAction* item : skinItems_) item->setChecked(item->data().toString() == current);
}

void icoBarS::goSkin(const QString& skin_Name) { host_.GoSkin(skin_Name); }

void icoBarS::PrepareSetMenu(SetMenuFrom from) {
    ValueDefault();
    Item(QStringLiteral("M_ShowMain"))->setVisible(from != SetMenuFrom::SettingsButton);
    Item(QStringLiteral("M_closeS"))->setVisible(from == SetMenuFrom::SettingsButton);
    Item(QStringLiteral("M_PlaySet"))->setVisible(from != SetMenuFrom::Tray);
    Item(QStringLiteral("M_Lrc_Lock"))->setChecked(host_.LyricsLocked());
    Item(QStringLiteral("M_Lrc_Search"))->setVisible(from == SetMenuFrom::LyricsWindow);
}

void icoBarS::PopupSetMenu(SetMenuFrom from, const QPoint& global) {
    PrepareSetMenu(from);
    Menu(QStringLiteral("M_set"))->popup(global);
}

void icoBarS::PopupListMenu(const QString& name, const QPoint& global) {
    static const QStringList kListMenus = {QStringLiteral("M_RightClick"), QStringLiteral("M_MySongRight"),
                                           QStringLiteral("M_MySongRightS"), QStringLiteral("M_RadioRight")};
    if (kListMenus.contains(name)) Menu(name)->popup(global);
}

void icoBarS::ShowMainNormal() {
    QWidget* main = host_.MainWindow();
    if (!main) return;
    main->showNormal();
    main->raise();
    main->activateWindow();
    host_.SetIsShown(true);
}

void icoBarS::M_ShowMain_Click() { ShowMainNormal(); }

void icoBarS::M_skin_List_Click(int index) {
    const QAction* item = SkinItem(index);
    if (!item) return;
    const QString name = item->data().toString();
    goSkin(name);
    SaveConfig(host_, QStringLiteral("Skin"), QStringLiteral("name"), name);
    ValueDefault();
}

void icoBarS::M_Skin_Edit_Click() {
    platform::Messages().Show(QStringLiteral("非常抱歉，此功能还在开发中，敬请关注下一次的更新。"),
                              QStringLiteral("Qel：还在开发中啦！"), platform::MsgButtons::Ok,
                              platform::MsgIcon::Information);
}

// The two close options are one setting: exactly one is checked.
void icoBarS::SetCloseChecks(bool closeQuits) {
    Item(QStringLiteral("M_closeY"))->setChecked(closeQuits);
    Item(QStringLiteral("M_closeN"))->setChecked(!closeQuits);
}

void icoBarS::M_closeY_Click() {
    SetCloseChecks(SaveConfig(host_, QStringLiteral("isClose"), QStringLiteral("1")) ? true : ConfigNumber(host_, QStringLiteral("isClose")) != 0);
}

void icoBarS::M_closeN_Click() {
    SetCloseChecks(SaveConfig(host_, QStringLiteral("isClose"), QStringLiteral("0")) ? false : ConfigNumber(host_, QStringLiteral("isClose")) != 0);
}

void icoBarS::M_PlayListIndex_Click() {
    if (!SaveConfig(host_, QStringLiteral("isPlayListIndex"), QString::number(host_.SourceIndex() + 1))) return;
    platform::Messages().Show(QStringLiteral("默认播放列表设置成功！"), host_.AppTitle(), platform::MsgButtons::Ok,
                              platform::MsgIcon::Information);
}

void icoBarS::M_RunPlay_Click() {
    Item(QStringLiteral("M_RunPlay"))->setChecked(ToggleConfig(host_, QStringLiteral("isRunPlay")));
}

void icoBarS::M_Resume_Click() {
    const bool on = !ResumeEnabled();
    SetResumeEnabled(on);
    Item(QStringLiteral("M_Resume"))->setChecked(ResumeEnabled());
}

void icoBarS::M_Lrc_Show_Click() {
    const bool on = ToggleConfig(host_, QStringLiteral("LrcShow"));
    Item(QStringLiteral("M_Lrc_Show"))->setChecked(on);
    host_.ShowLyrics(on);
}

void icoBarS::M_about_Click() {
    if (!about_) {
        about_ = new about(host_.AppVersion(), QStringLiteral(TAVO_HOME_PAGE));
        about_->setAttribute(Qt::WA_DeleteOnClose);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void icoBarS::M_Exit_Click() { host_.ExitProgram(); }

}  // namespace tavo
