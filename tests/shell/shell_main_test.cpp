// The shell attached to the real main window and its core (offscreen, a
// stand-in media player, the local web): start-up through the splash, the
// menus where the window pops them, the one exit path, the link label.
#include "shell/shell_main.h"

#include "app/app_fixture.h"
#include "app/ui/main_form.h"
#include "lyrics/ui/lrc_box.h"
#include "lyrics/ui/lrc_menu.h"
#include "shell/welcome.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace tavo {
namespace {

class ShellMainTest : public test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        web.Start();
        SetConfig("isPlayListIndex", "1");  // the favourites: nothing to fetch
        WriteFile("MySongList.txt", "A<|>\r\nB<|>\r\n");
        form = std::make_unique<MainForm>(player);
        shell = std::make_unique<ShellMain>(*form);
    }
    void TearDown() override {
        shell.reset();
        form.reset();
        AppTest::TearDown();
    }
    bool Visible(const char* item) { return shell->Tray().Item(QString::fromLatin1(item))->isVisible(); }
    QMenu* Menu(const char* name) { return shell->Tray().Menu(QString::fromLatin1(name)); }
    PlayerCore& core() { return form->core(); }

    test::FakeMediaPlayer player;
    std::unique_ptr<MainForm> form;
    std::unique_ptr<ShellMain> shell;
};

TEST_F(ShellMainTest, SplashComesFirstAndShowsTheLoadedWindow) {
    SetConfig("isClose", "1");
    SetConfig("LrcShow", "1");
    ASSERT_TRUE(form->Load());
    welcome* splash = shell->Splash();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->Label2()->text(), QStringLiteral(TAVO_HOME_PAGE)) << "the program's home, not a service host";
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(shell->Tray().TrayIcon().isVisible());
    // Start-up filled the tray menus.
    EXPECT_TRUE(shell->Tray().SkinItem(0)->isChecked());
    EXPECT_TRUE(shell->Tray().Item(QStringLiteral("M_closeY"))->isChecked());
    EXPECT_TRUE(shell->Tray().Item(QStringLiteral("M_Lrc_Show"))->isChecked());

    splash->Timer1_Timer();  // loading is done by the first tick
    EXPECT_FALSE(splash->isVisible());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(FromBool16(core().IsShown));
    EXPECT_TRUE(form->lyrics().isVisible());
}

TEST_F(ShellMainTest, SettingsButtonAndLyricsWindowPopTheSettingsMenu) {
    ASSERT_TRUE(form->Load());
    form->PageA(9)->click();
    EXPECT_TRUE(Menu("M_set")->isVisible());
    EXPECT_FALSE(Visible("M_ShowMain"));
    EXPECT_TRUE(Visible("M_closeS"));
    EXPECT_TRUE(Visible("M_PlaySet"));
    Menu("M_set")->hide();

    // The lyrics window's own menu leads to the settings menu.
    form->lyrics().show();
    QTest::mouseClick(&form->lyrics(), Qt::RightButton, {}, QPoint(5, 5));
    ASSERT_TRUE(form->lyrics().Menu()->isVisible());
    EXPECT_FALSE(Menu("M_set")->isVisible());
    form->lyrics().Menu()->Item(QStringLiteral("M_LrcPlayerMenu"))->trigger();
    form->lyrics().Menu()->hide();
    EXPECT_TRUE(Menu("M_set")->isVisible());
    EXPECT_TRUE(Visible("M_ShowMain"));
    EXPECT_FALSE(Visible("M_closeS"));
    EXPECT_TRUE(Visible("M_PlaySet"));
    Menu("M_set")->hide();
}

TEST_F(ShellMainTest, FavouritesRowsPopTheirMenusAndRemoveTheRightLine) {
    ASSERT_TRUE(form->Load());
    ASSERT_EQ(core().ui.rows, (QStringList{"A", "B"}));
    const int row = form->RowHeight;
    QTest::mouseClick(form->Picture1(), Qt::RightButton, {}, QPoint(20, row * 3 + 5));  // below the rows
    EXPECT_TRUE(Menu("M_MySongRightS")->isVisible());
    Menu("M_MySongRightS")->hide();
    QTest::mouseClick(form->Picture1(), Qt::RightButton, {}, QPoint(20, row + 5));
    EXPECT_TRUE(Menu("M_MySongRight")->isVisible());
    EXPECT_EQ(core().SelIndex, 1);
    Menu("M_MySongRight")->hide();

    shell->Tray().Item(QStringLiteral("M_DelMySong"))->trigger();
    EXPECT_EQ(test::TempDir::Read(folder() / "MySongList.txt"), "A<|>\r\n\r\n");
    EXPECT_EQ(core().ui.rows, QStringList{"A"});
}

TEST_F(ShellMainTest, ExitSavesFirstThenRemovesTheTrayIcon) {
    ASSERT_TRUE(form->Load());
    QStringList steps;
    core().exit.AddSaveStep([&] { steps << (shell->Tray().TrayIcon().isVisible() ? "save" : "save late"); });
    core().hooks.ExitProgram = [&] { steps << (shell->Tray().TrayIcon().isVisible() ? "end, icon up" : "end"); };
    shell->Tray().Item(QStringLiteral("M_Exit"))->trigger();
    EXPECT_EQ(steps, (QStringList{"save", "end"}));
}

TEST_F(ShellMainTest, CloseButtonMinimisesWhenNoTrayCanBringTheWindowBack) {
    SetConfig("isClose", "0");
    ASSERT_TRUE(form->Load());
    shell->Splash()->Timer1_Timer();
    EXPECT_FALSE(form->lyrics().isVisible());  // "LrcShow" not set
    ASSERT_FALSE(shell->Tray().TrayAvailable());  // offscreen has no tray
    form->PageA(7)->click();
    EXPECT_TRUE(form->isMinimized());
    EXPECT_TRUE(form->isVisible());
}

class OpenedPages : public QObject {
    Q_OBJECT
public:
    OpenedPages() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open"); }
    ~OpenedPages() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
    Q_INVOKABLE void Open(const QUrl& url) { urls << url.toString(); }
    QStringList urls;
};

TEST_F(ShellMainTest, LinkLabelRotatesTheNoticesAndOpensThePageShown) {
    ASSERT_TRUE(form->Load());
    UpdateCheck& update = shell->Update();
    update.Timer1.stop();
    WriteFile("up.!up", "1.1{|}http://maker.test/v11{++}<b>notice</b>{|}http://maker.test/n1");
    update.UpDown_DLComplete(1, 0);
    for (int i = 0; i < 6; ++i) update.Timer1_Timer();
    QLabel* label1 = form->Label(1);
    EXPECT_EQ(label1->text(), UpdateCheck::kNewVersion);
    OpenedPages opened;
    QTest::mouseClick(label1, Qt::LeftButton);
    for (int i = 0; i < 6; ++i) update.Timer1_Timer();
    EXPECT_EQ(label1->text(), QStringLiteral("<b>notice</b>"));
    EXPECT_EQ(label1->textFormat(), Qt::PlainText);  // shown as it came, never as markup
    QTest::mouseClick(label1, Qt::LeftButton);
    EXPECT_EQ(opened.urls, (QStringList{"http://maker.test/v11", "http://maker.test/n1"}));
}

TEST_F(ShellMainTest, SkinMenuSwitchesTheCurrentSkin) {
    WriteFile("skin/晨光/skin.ini", "");
    ASSERT_TRUE(form->Load());
    ASSERT_EQ(shell->Tray().SkinItemCount(), 2);
    // The title strip says so while the skin loads.
    QString titleWhileLoading;
    const auto apply = core().hooks.ApplySkin;
    core().hooks.ApplySkin = [&] {
        titleWhileLoading = form->Label(3)->text();
        apply();
    };
    shell->Tray().SkinItem(0)->trigger();  // sorted: 晨光 first
    EXPECT_EQ(titleWhileLoading, kAppTitle + QStringLiteral(" - 正在调入皮肤，请稍后..."));
    EXPECT_EQ(core().CurrentSkin, QStringLiteral("晨光"));
    EXPECT_EQ(settings->GetSetting(kAppTitle, QStringLiteral("Skin"), QStringLiteral("name")), QStringLiteral("晨光"));
    EXPECT_EQ(form->Label(3)->text(), kAppTitle);
}

}  // namespace
}  // namespace tavo

#include "shell_main_test.moc"
