// Start-up, the window rules and the ways the program ends.
#include "app/window_rules.h"

#include "app_fixture.h"
#include "../sources/print_qstring.h"
#include "platform/core/session_end.h"

#include <csignal>

namespace tavo {
namespace {

using test::WaitFor;

class StartTest : public test::CoreTest {};

TEST_F(StartTest, WithoutSkinsTheProgramStopsWithTheMessage) {
    for (const bool emptyFolder : {false, true}) {
        std::filesystem::remove_all(folder() / "skin");
        if (emptyFolder) std::filesystem::create_directories(folder() / "skin");
        messages.box().shown.clear();
        MakeCore();
        EXPECT_FALSE(Load());
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].text, QStringLiteral("缺少必须的皮肤文件，无法运行。请到 ") +
                                                Services().makerSite + QStringLiteral("下载重新安装。"));
        EXPECT_EQ(messages.shown()[0].title, QStringLiteral("缺少皮肤"));
        EXPECT_EQ(messages.shown()[0].icon, platform::MsgIcon::Exclamation);
        EXPECT_FALSE(FromBool16(core->LoadDone));
        EXPECT_EQ(core->gsl.PHcombo.ListCount(), 0);
    }
}

TEST_F(StartTest, FirstStartUsesTheDefaults) {
    ASSERT_TRUE(Load());
    EXPECT_TRUE(FromBool16(core->LoadDone));
    EXPECT_EQ(core->CurrentSkin, QStringLiteral("蓝色科技"));
    EXPECT_EQ(core->gsl.PHcombo.ListCount(), 19);
    EXPECT_EQ(core->gsl.PHcombo.ListIndex(), 2);
    EXPECT_FALSE(core->AutoPlay);
    EXPECT_EQ(core->PlayIndex, -1);
    EXPECT_TRUE(core->ui.LoadLabelVisible);
    EXPECT_EQ(core->ui.LoadLabel, QStringLiteral("正在获取列表，请稍后..."));
    ASSERT_TRUE(WaitFor([&] { return !core->ui.LoadLabelVisible; }));
    EXPECT_EQ(core->ui.rows.size(), 3);
    EXPECT_TRUE(player.urls.isEmpty()) << "no automatic play";
    EXPECT_EQ(web.Hits("/j/mine/playlist"), 1);
    EXPECT_FALSE(std::filesystem::exists(folder() / "tmp.txt"));
    EXPECT_FALSE(LrcShowAtStart());
}

TEST_F(StartTest, SkinChoiceFallsBack) {
    const struct {
        std::vector<std::string> folders;
        const char* stored;
        const char* chosen;
    } cases[] = {
        {{"蓝色科技", "绿色"}, "绿色", "绿色"},
        {{"蓝色科技", "绿色"}, "已删除", "蓝色科技"},
        {{"绿色", "红色"}, "", "红色"},  // the first folder (by name)
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(folder() / "skin");
        for (const auto& f : c.folders) std::filesystem::create_directories(folder() / "skin" / f);
        settings->SaveSetting("Tavo音乐盒2010", "Skin", "name", QString::fromUtf8(c.stored));
        MakeCore();
        ASSERT_TRUE(Load());
        EXPECT_EQ(core->CurrentSkin, QString::fromUtf8(c.chosen)) << c.stored;
        EXPECT_EQ(core->SkinFolders.size(), c.folders.size());
    }
}

TEST_F(StartTest, StoredSettingsChooseTheFirstSourceAndTheLyricsWindow) {
    const struct {
        const char* stored;
        int index;
    } cases[] = {{"1", 0}, {"4", 3}, {"19", 18}, {"0", 2}, {"abc", 2}, {"99", 2}, {"-5", 2}};
    for (const auto& c : cases) {
        SetConfig("isPlayListIndex", c.stored);
        MakeCore();
        ASSERT_TRUE(Load());
        EXPECT_EQ(core->gsl.PHcombo.ListIndex(), c.index) << c.stored;
        core->fetch.QelDown1.CancelDownload();
    }
    for (const char* v : {"1", "7abc"}) {
        SetConfig("LrcShow", v);
        EXPECT_TRUE(LrcShowAtStart()) << v;
    }
}

TEST(WindowRules, VolumeTrack) {
    const struct {
        int height, y, volume;
    } presses[] = {
        {44, 0, 100}, {44, 44, 0}, {44, -5, 100}, {44, 60, 0},
        {44, 22, 50},  // 22 / 0.44 = 50
        {200, 1, 100}, {200, 3, 98},  // 99.5 and 98.5: halves to even
        {0, 0, 0},
    };
    for (const auto& p : presses) EXPECT_EQ(VolumeFromPress(p.height, p.y), p.volume) << p.height << " " << p.y;
    EXPECT_EQ(VolumeFillTop(44, 100), 0);
    EXPECT_EQ(VolumeFillTop(44, 0), 44);
    EXPECT_EQ(VolumeFillTop(44, 50), 22);
    EXPECT_EQ(VolumeFillTop(44, 33), 30);  // 44 - Int(14.52)
    for (int v = 0; v <= 100; ++v) EXPECT_EQ(VolumeFromPress(100, VolumeFillTop(100, v)), v) << v;
}

TEST_F(StartTest, CloseButtonHidesMinimisesOrAsksBeforeExit) {
    ASSERT_TRUE(Load());
    std::vector<std::string> saved;
    core->exit.AddSaveStep([&] { saved.push_back("notes"); });
    core->exit.AddSaveStep([&] { saved.push_back("other"); });
    core->PageA_Click(7);
    EXPECT_EQ(hides, 1);
    EXPECT_FALSE(FromBool16(core->IsShown));
    tray = false;  // a hidden window could not come back: minimised instead
    core->IsShown = True16;
    core->PageA_Click(7);
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(minimises, 1);
    EXPECT_TRUE(FromBool16(core->IsShown));
    EXPECT_TRUE(messages.shown().empty());

    SetConfig("isClose", "1");
    messages.box().answer = platform::MsgResult::Cancel;
    core->PageA_Click(7);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("确定要退出Tavo音乐盒2010？"));
    EXPECT_EQ(messages.shown()[0].buttons, platform::MsgButtons::OkCancel);
    EXPECT_EQ(messages.shown()[0].icon, platform::MsgIcon::Question);
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(saved.empty());

    messages.box().answer = platform::MsgResult::Ok;
    int trayAtSave = -1;
    core->exit.AddSaveStep([&] { trayAtSave = trayRemoved; });
    core->PageA_Click(7);
    EXPECT_EQ(saved, (std::vector<std::string>{"notes", "other"}));
    EXPECT_EQ(trayAtSave, 0) << "the save steps run before the tray icon goes";
    EXPECT_EQ(trayRemoved, 1);
    EXPECT_EQ(exits, 1);
    core->exit.Exit();  // a second way out (the tray's exit item) does nothing more
    EXPECT_EQ(saved.size(), 2u);
    EXPECT_EQ(exits, 1);
}

TEST_F(StartTest, TerminationSignalTakesTheExitPath) {
    ASSERT_TRUE(Load());
    int saves = 0;
    core->exit.AddSaveStep([&] { ++saves; });
    platform::SessionEnd session;
    ASSERT_TRUE(session.Active());
    RouteSessionEnd(core->exit, session);
    std::raise(SIGTERM);
    ASSERT_TRUE(WaitFor([&] { return exits == 1; }));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(trayRemoved, 1);
}

}  // namespace
}  // namespace tavo
