// The real window offscreen, the libmpv player without sound (ao=null) and
// the local web: songs are short WAV files served from 127.0.0.1.
#include "app_fixture.h"
#include "../sources/print_qstring.h"
#include "lyrics/ui/lrc_box.h"
#include "platform/ansi_text.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace tavo {
namespace {

using platform::kPlayPlaying;
using test::Song;
using test::WaitFor;

class EndToEndTest : public test::RealPlayerTest {
protected:
    void SetUp() override {
        RealPlayerTest::SetUp();
        web.feed = {{"Title1", "Singer1"}, {"Title2", "Singer2"}};
        web.chart = {{"Chart1", "A1"}, {"Chart2", "A2"}};
        web.Start();
    }
    // Starts the program, with songs of `seconds`.
    void Start(double seconds = 1.0) {
        web.SetWavSeconds(seconds);
        StartPlayer();
    }
    void Link(const std::string& query, std::vector<std::string> paths) {
        std::lock_guard lock(web.mu_);
        auto& urls = web.links[query];
        urls.clear();
        for (const auto& p : paths) urls.push_back(web.Url(p));
    }
    void Choose(int source) {
        Q_EMIT form->PHcombo()->activated(source);
        ASSERT_TRUE(WaitFor([&] {
            return !form->core().fetch.QelDown1.Downloading() && !form->core().ui.LoadLabelVisible &&
                   !form->LoadLabel()->isVisible();
        }));
    }
    // Waits until the player plays `path` of the local web.
    bool Plays(const std::string& path, int ms = 5000) {
        const QString url = web.QUrl(path);
        return WaitFor([&] { return player->URL() == url && player->playState() == kPlayPlaying; }, ms);
    }
    bool PlaysFile(const std::filesystem::path& file, int ms = 5000) {
        const QString url = platform::PathToQString(file);
        return WaitFor([&] { return player->URL() == url && player->playState() == kPlayPlaying; }, ms);
    }
};

TEST_F(EndToEndTest, AutomaticPlayAtStartThenNextSongThenWrap) {
    SetConfig("isRunPlay", "1");
    SetConfig("isPlayListIndex", "4");
    Link("Title1+Singer1", {"/songs/t1.wav"});
    Link("Title2+Singer2", {"/songs/t2.wav"});
    Start();
    ASSERT_TRUE(Plays("/songs/t1.wav"));
    ASSERT_TRUE(WaitFor([&] { return form->Label(6)->text() == QStringLiteral(" 正在播放：") + Song("Title1", "Singer1"); }));
    EXPECT_TRUE(form->PlayIco()->isVisible());
    EXPECT_FALSE(form->PlayS(0)->isVisible());
    ASSERT_TRUE(WaitFor([&] { return form->socl()->Text() == QStringLiteral(" 00:00 / 00:01  "); }));
    // The end of the song: the next one; the end of the feed: the first again.
    ASSERT_TRUE(Plays("/songs/t2.wav"));
    ASSERT_TRUE(WaitFor([&] { return web.Hits("/songs/t1.wav") == 2 && player->playState() == kPlayPlaying; }));
    EXPECT_EQ(form->core().PlayIndex, 0);
}

TEST_F(EndToEndTest, ClosingFromTheDesktopIsTheCloseButton) {
    Start();
    int exits = 0;
    form->core().hooks.ExitProgram = [&] { ++exits; };
    form->core().hooks.HideMain = [&] { form->hide(); };
    form->core().hooks.TrayAvailable = [] { return true; };  // a tray brings the window back
    EXPECT_FALSE(form->close()) << "the window itself stays";
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->core().IsShown);
    form->show();
    SetConfig("isClose", "1");
    messages.box().answer = platform::MsgResult::Ok;
    form->close();
    EXPECT_EQ(exits, 1);
}

TEST_F(EndToEndTest, BrowsingAnotherSourceWhileASongPlaysAndComingBack) {
    Link("Chart2+A2", {"/songs/c2.wav"});
    Start(3.0);
    Choose(5);
    ASSERT_TRUE(WaitFor([&] { return form->core().ui.rows.size() == 2; }));
    EXPECT_TRUE(form->Combo1()->isVisible());
    EXPECT_EQ(form->Combo2()->currentText(), QStringLiteral("第一期"));
    ClickRow(1);
    ASSERT_TRUE(Plays("/songs/c2.wav"));
    ASSERT_TRUE(WaitFor([&] { return form->PlayIco()->isVisible(); }));
    const int top = form->PlayIco()->y();
    EXPECT_EQ(top, form->Picture1()->y() + form->RowHeight + 2) << "the marker sits on the second row";

    Choose(3);
    ASSERT_TRUE(WaitFor([&] { return !form->PlayIco()->isVisible() && form->PageA(15)->isVisible(); }));
    EXPECT_FALSE(form->Combo1()->isVisible());
    EXPECT_EQ(player->playState(), kPlayPlaying);

    form->PageA(15)->click();
    ASSERT_TRUE(WaitFor([&] { return form->PlayIco()->isVisible(); }));
    EXPECT_EQ(form->PHcombo()->currentIndex(), 5);
    EXPECT_EQ(form->PlayIco()->y(), top);
    EXPECT_FALSE(form->PageA(15)->isVisible());
    EXPECT_EQ(player->URL(), web.QUrl("/songs/c2.wav"));
    EXPECT_EQ(web.Hits("/top/x/1.htm"), 1) << "the playing list is shown, not fetched";
    EXPECT_TRUE(form->core().YNPlaySong(1));
    EXPECT_FALSE(form->core().YNPlaySong(0));
}

TEST_F(EndToEndTest, FavouritesWithStoredLinksAndLocalFiles) {
    const auto local = folder() / "本地 歌曲.wav";
    WriteFile("本地 歌曲.wav", test::MakeWav(1.0));
    WriteFile("MySongList.txt", "Local<|>" + platform::PathToQString(local).toStdString() + "\r\nWeb<|>" +
                                    web.Url("/songs/fav.wav") + "\r\n");
    Start();
    Choose(0);
    ClickRow(0);
    ASSERT_TRUE(PlaysFile(local));
    EXPECT_EQ(form->core().links.LinkCandidates, QStringList{platform::PathToQString(local)});
    ASSERT_TRUE(Plays("/songs/fav.wav"));
    ASSERT_TRUE(PlaysFile(local));  // the end of the favourites: the first again
    EXPECT_EQ(web.Queries(), (std::vector<std::string>{"Local", "Web", "Local"}));
}

}  // namespace
}  // namespace tavo
