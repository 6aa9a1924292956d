// The splash shown before the player and the main window exist: it waits
// without them, and the shell takes it over rather than showing a second.
#include "shell/shell_main.h"

#include "app/app_fixture.h"
#include "app/ui/main_form.h"
#include "shell/welcome.h"

#include <QApplication>

namespace tavo {
namespace {

class EarlySplashTest : public test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        web.Start();
        SetConfig("isPlayListIndex", "1");
        WriteFile("MySongList.txt", "A<|>\r\n");
    }
    test::FakeMediaPlayer player;
};

TEST_F(EarlySplashTest, TheShellTakesOverTheSplashShownFirst) {
    std::unique_ptr<welcome> early = ShowEarlySplash();
    welcome* splash = early.get();
    ASSERT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->Timer1().isActive());
    splash->Timer1_Timer();  // nothing to wait for yet: it stays
    EXPECT_TRUE(splash->isVisible());

    MainForm form(player);
    ShellMain shell(form, std::move(early));
    ASSERT_TRUE(form.Load());
    EXPECT_EQ(shell.Splash(), splash);
    int splashes = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<welcome*>(w) && w->isVisible()) ++splashes;
    EXPECT_EQ(splashes, 1);
    EXPECT_FALSE(form.isVisible());

    splash->Timer1_Timer();  // loaded: the window comes, the splash goes
    EXPECT_FALSE(splash->isVisible());
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(FromBool16(form.core().IsShown));
}

}  // namespace
}  // namespace tavo
