// The tray window: its menus through their actions, the tray icon's clicks
// through the handler it connects, offscreen.
#include "shell/about.h"
#include "shell/ico_bar_s.h"

#include "fake_shell_host.h"
#include "platform/settings_store.h"
#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>

namespace tavo {
namespace {

using test::FakeShellHost;

const QString kApp = QStringLiteral("Tavo音乐盒2010");

QString Config(const char* key) {
    return platform::Settings().GetSetting(kApp, QStringLiteral("Config"), QString::fromLatin1(key));
}
void SetConfig(const char* key, const char* value) {
    platform::Settings().SaveSetting(kApp, QStringLiteral("Config"), QString::fromLatin1(key), QString::fromLatin1(value));
}

class Tray : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* key : {"isClose", "isRunPlay", "LrcShow", "isPlayListIndex"}) SetConfig(key, "");
    }
    bool Visible(const char* name) { return ico.Item(QString::fromLatin1(name))->isVisible(); }
    bool Checked(const char* name) { return ico.Item(QString::fromLatin1(name))->isChecked(); }
    void Choose(const char* name) { ico.Item(QString::fromLatin1(name))->trigger(); }

    test::TempDir dir;
    FakeShellHost host{dir / "MySongList.txt"};
    icoBarS ico{host};
    test::ScopedFakeMessageBox messages;
};

TEST_F(Tray, RightClickOnTheIconPopsTheSettingsMenuWithoutTheTwoSubmenus) {
    ico.PrepareSetMenu(icoBarS::SetMenuFrom::SettingsButton);
    host.skin = QStringLiteral("蓝色科技");
    ico.FillSkinMenu({QStringLiteral("晨光"), QStringLiteral("蓝色科技")});
    host.skin = QStringLiteral("晨光");  // changed elsewhere: the marks follow on the next pop-up
    Q_EMIT ico.TrayIcon().activated(QSystemTrayIcon::Context);
    QMenu* set = ico.Menu(QStringLiteral("M_set"));
    EXPECT_TRUE(set->isVisible());
    EXPECT_TRUE(Visible("M_ShowMain"));
    EXPECT_FALSE(Visible("M_closeS"));
    EXPECT_FALSE(Visible("M_PlaySet"));
    EXPECT_TRUE(ico.SkinItem(0)->isChecked());
    EXPECT_FALSE(ico.SkinItem(1)->isChecked());
    set->hide();
}

TEST_F(Tray, LeftClickOnTheIconTogglesTheMainWindow) {
    auto click = [this] { Q_EMIT ico.TrayIcon().activated(QSystemTrayIcon::Trigger); };
    click();
    EXPECT_TRUE(host.main.isVisible());
    EXPECT_TRUE(host.shown);
    click();
    EXPECT_FALSE(host.main.isVisible());
    EXPECT_FALSE(host.shown);
    host.main.showMinimized();  // minimised: restored, IsShown untouched
    host.shown = true;
    click();
    EXPECT_FALSE(host.main.isMinimized());
    EXPECT_TRUE(host.main.isVisible());
    Q_EMIT ico.TrayIcon().activated(QSystemTrayIcon::MiddleClick);  // nothing
    EXPECT_TRUE(host.main.isVisible());
    host.main.hide();
}

TEST_F(Tray, TheLyricsLockItemShowsTheLockAndUnlocks) {
    host.lyricsLocked = true;  // locked from the lyrics window's own menu
    ico.PrepareSetMenu(icoBarS::SetMenuFrom::Tray);
    EXPECT_TRUE(Checked("M_Lrc_Lock"));
    EXPECT_EQ(ico.Item(QStringLiteral("M_Lrc_Lock"))->text(), QStringLiteral("锁定歌词"));
    Choose("M_Lrc_Lock");  // the locked window cannot be clicked: the tray unlocks it
    EXPECT_FALSE(host.lyricsLocked);
    ico.PrepareSetMenu(icoBarS::SetMenuFrom::Tray);
    EXPECT_FALSE(Checked("M_Lrc_Lock"));
    Choose("M_Lrc_Lock");
    EXPECT_TRUE(host.lyricsLocked);
}

TEST_F(Tray, CheckMarksFollowTheSettingsAtStartAndEveryToggle) {
    SetConfig("LrcShow", "1");
    ico.SetTrayChecks(true, false);
    EXPECT_TRUE(Checked("M_closeY"));
    EXPECT_FALSE(Checked("M_closeN"));
    EXPECT_FALSE(Checked("M_RunPlay"));
    EXPECT_TRUE(Checked("M_Lrc_Show"));

    Choose("M_closeN");
    EXPECT_EQ(Config("isClose"), "0");
    EXPECT_TRUE(Checked("M_closeN"));
    EXPECT_FALSE(Checked("M_closeY"));
    Choose("M_closeY");
    EXPECT_EQ(Config("isClose"), "1");
    EXPECT_TRUE(Checked("M_closeY"));
    EXPECT_FALSE(Checked("M_closeN"));

    // Chosen twice, a toggle is back where it was.
    const bool runPlay = Checked("M_RunPlay");
    Choose("M_RunPlay");
    EXPECT_EQ(Config("isRunPlay"), "1");
    EXPECT_TRUE(Checked("M_RunPlay"));
    Choose("M_RunPlay");
    EXPECT_EQ(Config("isRunPlay"), "0");
    EXPECT_EQ(Checked("M_RunPlay"), runPlay);

    SetConfig("isRunPlay", "7abc");  // any number but 0 is on
    Choose("M_RunPlay");
    EXPECT_EQ(Config("isRunPlay"), "0");

    Choose("M_Lrc_Show");
    EXPECT_EQ(Config("LrcShow"), "0");
    EXPECT_FALSE(Checked("M_Lrc_Show"));
    Choose("M_Lrc_Show");
    EXPECT_EQ(Config("LrcShow"), "1");
    EXPECT_TRUE(Checked("M_Lrc_Show"));
    EXPECT_EQ(host.calls, (QStringList{"lyrics:off", "lyrics:on"}));
}

TEST_F(Tray, DefaultListAndUnfinishedSkinEditorSayTheirMessages) {
    host.source = 5;
    Choose("M_PlayListIndex");
    EXPECT_EQ(Config("isPlayListIndex"), "6");
    Choose("M_Skin_Edit");
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("默认播放列表设置成功！"));
    EXPECT_EQ(messages.shown()[0].title, kApp);
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("非常抱歉，此功能还在开发中，敬请关注下一次的更新。"));
    EXPECT_EQ(messages.shown()[1].title, QStringLiteral("Qel：还在开发中啦！"));
}

// A setting that cannot be saved is said where the user acted, every time:
// no success message, no check mark that the settings do not hold.
TEST_F(Tray, ASettingThatCannotBeSavedIsSaidEveryTime) {
    const auto blocker = dir.Write("blocker", "not a folder");
    platform::SetSettings(std::make_unique<platform::IniSettingsStore>(blocker / "cfg"));
    ico.SetTrayChecks(false, false);
    Choose("M_PlayListIndex");
    Choose("M_PlayListIndex");
    Choose("M_RunPlay");
    Choose("M_closeY");
    ASSERT_EQ(messages.shown().size(), 4u);
    for (const auto& m : messages.shown()) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("无法保存设置到"))) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(QString::fromStdString((blocker / "cfg").string())));
    }
    EXPECT_FALSE(Checked("M_RunPlay"));
    EXPECT_FALSE(Checked("M_closeY"));
    EXPECT_TRUE(Checked("M_closeN"));
    platform::SetSettings(std::make_unique<platform::IniSettingsStore>(dir / "config"));
}

TEST_F(Tray, SkinListSwitchesAndRemembersTheSkin) {
    host.skin = QStringLiteral("蓝色科技");
    ico.FillSkinMenu({QStringLiteral("R&B"), QStringLiteral("蓝色科技"), QStringLiteral("晨光")});
    ASSERT_EQ(ico.SkinItemCount(), 3);
    EXPECT_EQ(ico.SkinItem(0)->text(), QStringLiteral("R&&B"));  // shown with its "&"
    EXPECT_TRUE(ico.SkinItem(1)->isChecked());

    host.calls.clear();
    ico.SkinItem(0)->trigger();
    EXPECT_EQ(host.skin, QStringLiteral("R&B"));
    EXPECT_EQ(host.calls, QStringList{"skin:R&B"});
    EXPECT_EQ(platform::Settings().GetSetting(kApp, QStringLiteral("Skin"), QStringLiteral("name")),
              QStringLiteral("R&B"));
    EXPECT_TRUE(ico.SkinItem(0)->isChecked());
    EXPECT_FALSE(ico.SkinItem(1)->isChecked());

    ico.FillSkinMenu({QStringLiteral("蓝色科技")});  // a shorter list
    EXPECT_EQ(ico.SkinItemCount(), 1);
    EXPECT_EQ(ico.Menu(QStringLiteral("M_Skin"))->actions().size(), 3);
}

TEST_F(Tray, ShowMainAboutAndExit) {
    Choose("M_ShowMain");
    EXPECT_TRUE(host.main.isVisible());
    EXPECT_TRUE(host.shown);
    host.main.hide();

    Choose("M_about");
    about* window = ico.AboutWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    // The program's own home page, not the services' host.
    EXPECT_TRUE(window->Label2()->text().startsWith(QStringLiteral("https://")));
    Choose("M_about");  // the same window again
    EXPECT_EQ(ico.AboutWindow(), window);

    ico.Form_Load();
    EXPECT_TRUE(ico.TrayIcon().isVisible());
    EXPECT_FALSE(ico.TrayAvailable());  // offscreen has no tray
    Choose("M_Exit");
    EXPECT_EQ(host.calls, (QStringList{"exit"}));
    ico.RemoveIcon();
    EXPECT_FALSE(ico.TrayIcon().isVisible());
}

}  // namespace
}  // namespace tavo
