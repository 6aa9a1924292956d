// The main window's logic with a stand-in player and lyrics window, and the
// local web on 127.0.0.1.
#include "app/main_logic.h"

#include "app_fixture.h"
#include "../sources/print_qstring.h"
#include "platform/media_player.h"
#include "sources/text_codecs.h"
#include "support/fake_media_player.h"

#include <QRegularExpression>

namespace tavo {
namespace {

using platform::kPlayPaused;
using platform::kPlayPlaying;
using platform::kPlayReady;
using platform::kPlayStopped;
using platform::kPlayWaiting;
using test::Song;
using test::WaitFor;


class LogicTest : public test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        web.feed = {{"Title1", "Singer1"}, {"Title2", "Singer2"}, {"Title3", "Singer3"}};
        web.chart = {{"Chart1", "A1"}, {"Chart2", "A2"}};
        web.Start();
        MakeLogic();
    }
    void MakeLogic() {
        logic = std::make_unique<MainLogic>(player);
        logic->SetLyricsView(&lrc);
        logic->SearchRetryMs = 20;
        logic->hooks.HideMain = [this] { ++hides; };
        logic->hooks.RemoveTrayIcon = [this] { ++trayRemoved; };
        logic->hooks.ExitProgram = [this] { ++exits; };
    }
    bool Load() { return logic->Form_Load(); }
    // Chooses a source and waits until its list has arrived.
    void Choose(int source) {
        logic->gsl.PHcombo.SetListIndex(source);
        ASSERT_TRUE(WaitFor([&] { return !logic->QelDown1.Downloading() && !logic->ui.LoadLabelVisible; }));
    }
    void ClickRow(int row, int button = 1) { logic->Picture1_MouseDown(button, 20, row * logic->RowHeight + 5); }
    void WriteFavourites(const std::string& content) { WriteFile("MySongList.txt", content); }
    std::string Fav(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += "Song" + std::to_string(i) + "<|>\r\n";
        return s;
    }
    void Links(const std::string& title, const std::string& artist, std::vector<std::string> urls) {
        std::lock_guard lock(web.mu_);
        web.links[test::FakeWeb::Query(title, artist)] = std::move(urls);
    }
    bool WaitUrl(int count) {
        return WaitFor([&] { return player.urls.size() >= count; });
    }

    test::FakeMediaPlayer player;
    test::FakeLyricsView lrc;
    std::unique_ptr<MainLogic> logic;
    int hides = 0, trayRemoved = 0, exits = 0;
};

// ---------------------------------------------------------------- start-up

TEST_F(LogicTest, WithoutSkinsTheProgramStopsWithTheMessage) {
    for (const bool emptyFolder : {false, true}) {
        std::filesystem::remove_all(folder() / "skin");
        if (emptyFolder) std::filesystem::create_directories(folder() / "skin");
        messages.box().shown.clear();
        MakeLogic();
        EXPECT_FALSE(Load());
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].text, QStringLiteral("缺少必须的皮肤文件，无法运行。请到 ") +
                                                Services().makerSite + QStringLiteral("下载重新安装。"));
        EXPECT_EQ(messages.shown()[0].title, QStringLiteral("缺少皮肤"));
        EXPECT_EQ(messages.shown()[0].icon, platform::MsgIcon::Exclamation);
        EXPECT_FALSE(FromBool16(logic->LoadDone));
        EXPECT_EQ(logic->gsl.PHcombo.ListCount(), 0);
    }
}

TEST_F(LogicTest, FirstStartUsesTheDefaults) {
    ASSERT_TRUE(Load());
    EXPECT_EQ(logic->AppTitle, QStringLiteral("Tavo音乐盒2010"));
    EXPECT_EQ(logic->AppVersion, QStringLiteral("1.0"));
    EXPECT_EQ(logic->LinkSource, QStringLiteral("SeekUp"));
    EXPECT_TRUE(FromBool16(logic->LoadDone));
    EXPECT_EQ(logic->CurrentSkin, QStringLiteral("蓝色科技"));
    EXPECT_EQ(logic->RowHeight, logic->Geometry().listHeight / 10);
    EXPECT_EQ(logic->gsl.PHcombo.ListCount(), 19);
    EXPECT_EQ(logic->gsl.PHcombo.ListIndex(), 2);
    EXPECT_FALSE(logic->AutoPlay);
    EXPECT_EQ(logic->PlayIndex, -1);
    EXPECT_TRUE(logic->ui.LoadLabelVisible);
    EXPECT_EQ(logic->ui.LoadLabel, QStringLiteral("正在获取列表，请稍后..."));
    ASSERT_TRUE(WaitFor([&] { return !logic->ui.LoadLabelVisible; }));
    EXPECT_EQ(logic->ui.rows.size(), 3);
    EXPECT_TRUE(player.urls.isEmpty()) << "no automatic play";
    EXPECT_EQ(web.Hits("/j/mine/playlist"), 1);
    EXPECT_FALSE(std::filesystem::exists(folder() / "tmp.txt"));
}

TEST_F(LogicTest, SkinChoiceFallsBack) {
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
        MakeLogic();
        ASSERT_TRUE(Load());
        EXPECT_EQ(logic->CurrentSkin, QString::fromUtf8(c.chosen)) << c.stored;
        EXPECT_EQ(logic->SkinFolders.size(), c.folders.size());
    }
}

TEST_F(LogicTest, StoredListIndexChoosesTheFirstSource) {
    const struct {
        const char* stored;
        int index;
    } cases[] = {{"1", 0}, {"4", 3}, {"19", 18}, {"0", 2}, {"abc", 2}, {"99", 2}, {"-5", 2}};
    for (const auto& c : cases) {
        SetConfig("isPlayListIndex", c.stored);
        MakeLogic();
        ASSERT_TRUE(Load());
        EXPECT_EQ(logic->gsl.PHcombo.ListIndex(), c.index) << c.stored;
        logic->QelDown1.CancelDownload();
    }
}

TEST_F(LogicTest, CloseButtonHidesOrAsksBeforeExit) {
    ASSERT_TRUE(Load());
    logic->PageA_Click(7);
    EXPECT_EQ(hides, 1);
    EXPECT_FALSE(FromBool16(logic->IsShown));
    EXPECT_TRUE(messages.shown().empty());

    SetConfig("isClose", "1");
    logic->IsShown = True16;
    messages.box().answer = platform::MsgResult::Cancel;
    logic->PageA_Click(7);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("确定要退出Tavo音乐盒2010？"));
    EXPECT_EQ(messages.shown()[0].buttons, platform::MsgButtons::OkCancel);
    EXPECT_EQ(messages.shown()[0].icon, platform::MsgIcon::Question);
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(FromBool16(logic->IsShown));

    messages.box().answer = platform::MsgResult::Ok;
    logic->PageA_Click(7);
    EXPECT_EQ(trayRemoved, 1);
    EXPECT_EQ(exits, 1);
}

// ---------------------------------------------------------------- lists

TEST_F(LogicTest, PagesOfTenRows) {
    ASSERT_TRUE(Load());
    const struct {
        int entries;
        const char* firstLabel;
        const char* lastLabel;
        int lastRows;
    } cases[] = {{0, "1/1", "1/1", 0}, {1, "1/1", "1/1", 1}, {10, "1/1", "1/1", 10},
                 {11, "1/2", "2/2", 1}, {25, "1/3", "3/3", 5}};
    for (const auto& c : cases) {
        WriteFavourites(Fav(c.entries));
        Choose(0);
        EXPECT_EQ(logic->ui.Label4, QString::fromLatin1(c.firstLabel)) << c.entries;
        EXPECT_EQ(logic->ui.rows.size(), std::min(c.entries, 10));
        logic->PageA_Click(1);  // before the first page: nothing
        EXPECT_EQ(logic->gsl.CurPage, 0);
        logic->PageA_Click(3);
        EXPECT_EQ(logic->ui.Label4, QString::fromLatin1(c.lastLabel));
        EXPECT_EQ(logic->ui.rows.size(), c.lastRows);
        const int last = logic->gsl.CurPage;
        logic->PageA_Click(2);  // past the last page: nothing
        EXPECT_EQ(logic->gsl.CurPage, last);
        logic->PageA_Click(0);
        EXPECT_EQ(logic->gsl.CurPage, 0);
    }
    WriteFavourites(Fav(11));
    Choose(0);
    logic->PageA_Click(2);
    EXPECT_EQ(logic->ui.Label4, QStringLiteral("2/2"));
    ASSERT_EQ(logic->ui.rows.size(), 1);
    EXPECT_EQ(logic->ui.rows[0], QStringLiteral("Song10"));
}

TEST_F(LogicTest, ListFileLines) {
    ASSERT_TRUE(Load());
    // Trailing "<|>", lines of spaces, a line without "<|>", a GB18030 line,
    // a stray "{@}".
    WriteFavourites("  A \xe2\x94\x88 B<|>  \r\n     \r\n\r\nNoLink\r\nLocal<|>/music/x.mp3\r\n\xd2\xf4\xc0\xd6<|>\r\nX{@}Y<|>u{@}v\r\n");
    Choose(0);
    EXPECT_EQ(logic->gsl.ListItems,
              (QStringList{Song("A", "B"), "NoLink", "Local", QStringLiteral("音乐"), "XY", ""}));
    EXPECT_EQ(logic->FavLinks, QStringLiteral("{@}{@}/music/x.mp3{@}{@}uv{@}"));
    EXPECT_FALSE(logic->ui.LoadLabelVisible);

    // A favourites file spelt in other letters is the same file.
    std::filesystem::remove(folder() / "MySongList.txt");
    WriteFile("mysonglist.TXT", "Only<|>\r\n");
    Choose(0);
    EXPECT_EQ(logic->gsl.ListItems, (QStringList{"Only", ""}));

    // Missing files: the empty list, no message.
    std::filesystem::remove(folder() / "mysonglist.TXT");
    Choose(0);
    EXPECT_EQ(logic->gsl.ListItems, QStringList{QString()});
    EXPECT_EQ(logic->ui.Label4, QStringLiteral("1/1"));
    Choose(1);
    EXPECT_EQ(logic->gsl.ListItems, QStringList{QString()});
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(LogicTest, FeedAndChartLists) {
    ASSERT_TRUE(Load());
    Choose(3);
    EXPECT_EQ(logic->ui.rows, (QStringList{Song("Title1", "Singer1"), Song("Title2", "Singer2"), Song("Title3", "Singer3")}));
    EXPECT_FALSE(logic->ui.Combo1Visible);
    EXPECT_FALSE(logic->ui.PageAVisible[14]);

    // A chart: its periods, the first period's entries, the first entry's songs.
    logic->gsl.PHcombo.SetListIndex(5);
    EXPECT_TRUE(logic->ui.Combo1Visible);
    EXPECT_TRUE(logic->ui.PageAVisible[5]);
    ASSERT_TRUE(WaitFor([&] { return logic->ui.rows.size() == 2; }));
    EXPECT_EQ(logic->gsl.Combo1.Items(), QStringList{"2010-"});
    EXPECT_EQ(logic->gsl.Combo2.Items(), (QStringList{"第一期", "第二期"}));
    EXPECT_EQ(logic->gsl.Combo2.ListIndex(), 0);
    EXPECT_EQ(logic->ui.rows, (QStringList{Song("Chart1", "A1"), Song("Chart2", "A2")}));
    EXPECT_EQ(web.Hits("/top/x/1.htm"), 1);
    EXPECT_FALSE(logic->ui.LoadLabelVisible);

    // The second entry.
    web.chart = {{"Other", "B"}};
    logic->gsl.Combo2.SetListIndex(1);
    EXPECT_EQ(logic->ui.LoadLabel, QStringLiteral("正在获取列表，请稍后......"));
    ASSERT_TRUE(WaitFor([&] { return logic->ui.rows.size() == 1; }));
    EXPECT_EQ(web.Hits("/top/x/2.htm"), 1);

    // Back to a plain source: the chart selectors lose their selection.
    Choose(4);
    EXPECT_EQ(logic->gsl.Combo1.ListIndex(), -1);
    EXPECT_EQ(logic->gsl.Combo2.ListIndex(), -1);
    EXPECT_FALSE(logic->ui.Combo2Visible);
}

TEST_F(LogicTest, ListDownloadFailuresEndInTheErrorAndTheEmptyList) {
    test::LocalHttpServer broken;
    test::QuickStop(broken.server());
    broken.server().Get(R"(/xml/(\w+)\.xml)", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("/elsewhere");  // a redirect raises no completion
    });
    broken.server().Get("/top/html_top/top0/top0.htm", [](const httplib::Request&, httplib::Response& res) {
        res.status = 500;  // a failed read raises no completion
    });
    broken.server().Get("/j/mine/playlist", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("", "text/plain");  // zero bytes: error 3 with a completion
    });
    broken.Start();
    ServiceHosts hosts = Services();
    hosts.radioFeed = hosts.chartSite = hosts.radioPlaylist = broken.Url();
    SetServices(hosts);
    ASSERT_TRUE(Load());
    for (const int source : {2, 3, 5}) {
        WriteFavourites(Fav(3));
        Choose(0);
        logic->gsl.PHcombo.SetListIndex(source);
        ASSERT_TRUE(WaitFor([&] { return logic->ui.LoadLabel == QStringLiteral("获取列表出错，无法连接服务器"); }))
            << source;
        EXPECT_TRUE(logic->ui.LoadLabelVisible);
        EXPECT_EQ(logic->gsl.ListItems, QStringList{QString()});
        EXPECT_EQ(logic->ui.Label4, QStringLiteral("1/1"));
        EXPECT_TRUE(logic->ui.rows.isEmpty());
    }
}

// ---------------------------------------------------------------- links

TEST_F(LogicTest, SearchRequest) {
    QString expected = QStringLiteral("A+B+C+D");
    EXPECT_EQ(MainLogic::SearchQuery(Song("A", "B-C_D")), UrlEncodeUtf8(expected));
    QString chinese = QStringLiteral("歌 名+歌手");
    EXPECT_EQ(MainLogic::SearchQuery(Song("歌 名", "歌手")), UrlEncodeUtf8(chinese));

    const QRegularExpression shape(QStringLiteral("^http://h/api/links\\?query=A%2BB&jsoncallback=jsonp1\\d{12}$"));
    const QString a = MainLogic::SearchAddress("http://h", Song("A", "B"));
    const QString b = MainLogic::SearchAddress("http://h", Song("A", "B"));
    EXPECT_TRUE(shape.match(a).hasMatch()) << a.toStdString();
    EXPECT_TRUE(shape.match(b).hasMatch()) << b.toStdString();
    EXPECT_NE(a, b) << "two searches for one song use different suffixes";
    for (int i = 0; i < 200; ++i) ASSERT_EQ(MainLogic::CallbackSuffix().size(), 13);
}

TEST_F(LogicTest, CandidatesInReplyOrderWithTheStoredLinkFirst) {
    ASSERT_TRUE(Load());
    {
        std::lock_guard lock(web.mu_);
        web.links["Song0"] = {"http://a/1.mp3", "http://a/2.mp3"};
        web.links["Song1"] = {"http://b/1.mp3", "http://b/2.mp3"};
    }
    WriteFavourites("Song0<|>\r\nSong1<|>/local/song1.mp3\r\n");
    Choose(0);
    ClickRow(0);
    EXPECT_EQ(logic->ui.Label6, QStringLiteral(" 正在获取链接..."));
    EXPECT_EQ(lrc.label, QStringLiteral(" 正在获取链接..."));
    ASSERT_TRUE(WaitUrl(1));
    EXPECT_EQ(logic->LinkCandidates, QStringLiteral("http://a/1.mp3{@}http://a/2.mp3{@}"));
    EXPECT_EQ(player.url, QStringLiteral("http://a/1.mp3"));
    EXPECT_FALSE(std::filesystem::exists(folder() / "YQ.txt"));

    ClickRow(1);
    ASSERT_TRUE(WaitUrl(2));
    EXPECT_EQ(logic->LinkCandidates, QStringLiteral("/local/song1.mp3{@}http://b/1.mp3{@}http://b/2.mp3{@}"));
    EXPECT_EQ(player.url, QStringLiteral("/local/song1.mp3"));
    EXPECT_EQ(web.Queries(), (std::vector<std::string>{"Song0", "Song1"}));
}

TEST_F(LogicTest, ReplyWithoutAddressesMovesToTheNextSong) {
    ASSERT_TRUE(Load());
    Choose(3);
    Links("Title2", "Singer2", {"http://x/2.mp3"});
    ClickRow(0);
    ASSERT_TRUE(WaitUrl(1));
    EXPECT_EQ(logic->PlayIndex, 1);
    EXPECT_EQ(player.url, QStringLiteral("http://x/2.mp3"));
    EXPECT_EQ(web.Queries(), (std::vector<std::string>{"Title1+Singer1", "Title2+Singer2"}));
}

TEST_F(LogicTest, FavouriteWithoutStoredLinkSaysSo) {
    ASSERT_TRUE(Load());
    WriteFavourites("Song0<|>\r\n");
    Choose(0);
    {
        std::lock_guard lock(web.mu_);
        web.links["Song0"] = {"http://a/1.mp3"};
    }
    bool seen = false;
    QObject::connect(&player, &platform::MediaPlayer::PlayStateChange, [&] {
        seen = seen || logic->ui.Label6 == QStringLiteral("本地无歌曲链接，使用网络链接...");
    });
    ClickRow(0);
    ASSERT_TRUE(WaitUrl(1));
    EXPECT_TRUE(seen);
}

TEST_F(LogicTest, SearchThatCannotStartIsRetriedThreeTimesThenMovesOn) {
    ServiceHosts hosts = Services();
    hosts.songSearch = QStringLiteral("ftp://127.0.0.1");  // the request can never start
    SetServices(hosts);
    ASSERT_TRUE(Load());
    Choose(3);
    ClickRow(0);
    EXPECT_EQ(logic->ui.Label6, QStringLiteral("无法获取歌曲链接。"));
    EXPECT_EQ(logic->SearchRetries(), 1);
    ASSERT_TRUE(WaitFor([&] { return logic->PlayIndex == 1; }, 3000));
    EXPECT_EQ(logic->SearchRetries(), 1) << "the next song starts its own count";
    EXPECT_TRUE(player.urls.isEmpty());
    // A stored link of a shown favourite plays although the search failed.
    WriteFavourites("Song0<|>/local/a.mp3\r\n");
    Choose(0);
    ClickRow(0);
    EXPECT_EQ(player.url, QStringLiteral("/local/a.mp3"));
    EXPECT_EQ(logic->SearchRetries(), 0);
}

TEST_F(LogicTest, SearchEndingInAnErrorWithoutCompletionIsAFailedSearch) {
    std::mutex mu;
    std::vector<std::string> queries;
    test::LocalHttpServer broken;  // stops before what its handler writes goes away
    test::QuickStop(broken.server());
    broken.server().Get("/api/links", [&](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mu);
        queries.push_back(req.get_param_value("query"));
        res.status = 404;
    });
    auto count = [&](const std::string& q) {
        std::lock_guard lock(mu);
        return std::count(queries.begin(), queries.end(), q);
    };
    broken.Start();
    ServiceHosts hosts = Services();
    hosts.songSearch = broken.Url();
    SetServices(hosts);
    ASSERT_TRUE(Load());
    Choose(3);
    ClickRow(0);
    ASSERT_TRUE(WaitFor([&] { return logic->PlayIndex == 1; }, 4000));
    EXPECT_EQ(count("Title1+Singer1"), 4) << "the first try and three more";
    // The next song's search runs into the same failure and its own retries.
    ASSERT_TRUE(WaitFor([&] { return count("Title2+Singer2") >= 1; }));
}

// ---------------------------------------------------------------- playback

class PlayingTest : public LogicTest {
protected:
    void SetUp() override {
        LogicTest::SetUp();
        Links("Title1", "Singer1", {"http://a/1a.mp3", "http://a/1b.mp3"});
        Links("Title2", "Singer2", {"http://a/2.mp3"});
        Links("Title3", "Singer3", {"http://a/3.mp3"});
        SetConfig("isPlayListIndex", "4");  // the radio playlist only when a test asks
        ASSERT_TRUE(Load());
        Choose(3);
    }
    void Tick(int state) {
        player.state = state;
        logic->PlayTime_Timer();
    }
};

TEST_F(PlayingTest, StartingASong) {
    ClickRow(0);
    ASSERT_TRUE(WaitUrl(1));
    EXPECT_EQ(logic->PlaySource, 3);
    EXPECT_EQ(logic->PlayListText, Song("Title1", "Singer1") + "{@}" + Song("Title2", "Singer2") + "{@}" +
                                       Song("Title3", "Singer3") + "{@}");
    EXPECT_TRUE(logic->PlayTime.isActive());
    EXPECT_EQ(logic->PlayTime.interval(), 200);
    EXPECT_EQ(lrc.fetches, 1);
    EXPECT_TRUE(lrc.playGlyph);
    EXPECT_FALSE(logic->ui.PlaySVisible[0]);
    EXPECT_EQ(logic->ui.Label6ToolTip, QStringLiteral("正在播放：") + Song("Title1", "Singer1"));
    EXPECT_EQ(lrc.toolTip, logic->ui.Label6ToolTip);
    EXPECT_TRUE(logic->ui.PlayIcoVisible);
    EXPECT_EQ(logic->ui.PlayIcoTop, logic->Geometry().listTop + 2);
}

TEST_F(PlayingTest, WatchLoopShowsTimeProgressAndLyrics) {
    ClickRow(0);
    ASSERT_TRUE(WaitUrl(1));
    player.duration = 200;
    player.position = 5.5;
    Tick(kPlayPlaying);
    EXPECT_EQ(logic->ui.socl, QStringLiteral(" 00:05 / 03:20  "));
    EXPECT_EQ(logic->ui.progressWidth, static_cast<int>(logic->Geometry().trackWidth / 201.0 * 5.5));
    EXPECT_EQ(logic->ui.Label6, QStringLiteral(" 正在播放：") + Song("Title1", "Singer1"));

    lrc.lines = {"[ti:x]", "[01:22.90]A", "[01:23.40] B ", "[01:30.00]", "[00:10.00][01:40.00]Chorus"};
    const struct {
        double at;
        const char* shown;
    } steps[] = {
        {83.2, "B"},    // the first line containing 01:23
        {84.0, "B"},    // no line for 01:24: the line stays
        {90.1, nullptr},  // a tag-only line: the playing text
        {100.5, "Chorus"}, {10.2, "Chorus"},
    };
    for (const auto& s : steps) {
        player.position = s.at;
        Tick(kPlayPlaying);
        const QString expected = s.shown ? QString::fromUtf8(s.shown) : QStringLiteral("正在播放：") + Song("Title1", "Singer1");
        EXPECT_EQ(logic->ui.Label6, expected) << s.at;
        EXPECT_EQ(lrc.label, expected) << s.at;
    }
    player.statusText = QStringLiteral("正在缓冲...");
    Tick(platform::kPlayBuffering);
    EXPECT_EQ(logic->ui.Label6, QStringLiteral(" 正在缓冲...  "));
    EXPECT_EQ(player.urls.size(), 1) << "buffering is not a failure";
}

TEST_F(PlayingTest, FailedAddressTriesTheNextCandidateThenTheNextSong) {
    ClickRow(0);
    ASSERT_TRUE(WaitUrl(1));
    for (const int failed : {kPlayReady, kPlayWaiting, platform::kPlayUndefined}) {
        ClickRow(0);
        ASSERT_TRUE(WaitFor([&] { return player.url == QStringLiteral("http://a/1a.mp3") && logic->PlayTime.isActive(); }));
        const auto before = player.urls.size();
        Tick(failed);
        EXPECT_EQ(player.url, QStringLiteral("http://a/1b.mp3")) << failed;
        EXPECT_EQ(logic->LinkIndex, 1);
        Tick(failed);
        // The last candidate failed: one song on, not two.
        ASSERT_TRUE(WaitFor([&] { return player.urls.size() == before + 2; }));
        EXPECT_EQ(logic->PlayIndex, 1) << failed;
        EXPECT_EQ(player.url, QStringLiteral("http://a/2.mp3"));
    }
}

TEST_F(PlayingTest, EndOfSongAndEndOfList) {
    ClickRow(1);
    ASSERT_TRUE(WaitUrl(1));
    Tick(kPlayStopped);
    ASSERT_TRUE(WaitUrl(2));
    EXPECT_EQ(logic->PlayIndex, 2);
    Tick(kPlayStopped);
    // Past the end a feed starts again at the top.
    ASSERT_TRUE(WaitUrl(3));
    EXPECT_EQ(logic->PlayIndex, 0);
    EXPECT_EQ(player.url, QStringLiteral("http://a/1a.mp3"));
}

TEST_F(PlayingTest, PausedSongIsNeverSkipped) {
    ClickRow(0);
    ASSERT_TRUE(WaitUrl(1));
    logic->PlayS_Click(4);
    EXPECT_EQ(player.pauses, 1);
    EXPECT_FALSE(logic->PlayTime.isActive());
    EXPECT_TRUE(logic->ui.PlaySVisible[0]);
    EXPECT_FALSE(lrc.playGlyph);
    test::Pump(600);
    EXPECT_EQ(player.urls.size(), 1);
    logic->PlayS_Click(0);
    EXPECT_TRUE(logic->PlayTime.isActive());
    EXPECT_EQ(player.state, kPlayPlaying);
    EXPECT_TRUE(lrc.playGlyph);
}

TEST_F(PlayingTest, ButtonsStopPreviousMuteAndPlayWithoutSong) {
    logic->PlayS_Click(0);  // no song chosen: nothing
    EXPECT_EQ(player.plays, 0);
    EXPECT_FALSE(logic->PlayTime.isActive());

    ClickRow(0);
    ASSERT_TRUE(WaitUrl(1));
    logic->PlayS_Click(2);  // the first song: only stops
    EXPECT_EQ(player.state, kPlayStopped);
    EXPECT_EQ(logic->PlayIndex, 0);
    EXPECT_FALSE(logic->PlayTime.isActive());
    EXPECT_TRUE(logic->ui.Label6.isEmpty());
    EXPECT_FALSE(logic->ui.PlayIcoVisible);
    test::Pump(200);
    EXPECT_EQ(player.urls.size(), 1);

    logic->PlayS_Click(3);
    ASSERT_TRUE(WaitUrl(2));
    EXPECT_EQ(logic->PlayIndex, 1);
    logic->PlayS_Click(2);
    ASSERT_TRUE(WaitUrl(3));
    EXPECT_EQ(logic->PlayIndex, 0);

    logic->PlayS_Click(5);
    EXPECT_TRUE(player.muted);
    EXPECT_TRUE(lrc.muteGlyph);
    EXPECT_FALSE(logic->ui.PlaySVisible[5]);
    EXPECT_TRUE(logic->ui.PlaySVisible[6]);
    logic->PlayS_Click(6);
    EXPECT_FALSE(player.muted);
    EXPECT_FALSE(lrc.muteGlyph);
    EXPECT_TRUE(logic->ui.PlaySVisible[5]);

    logic->PlayS_Click(1);
    EXPECT_EQ(player.state, kPlayStopped);
    EXPECT_TRUE(logic->ui.PlaySVisible[0]);
}

TEST_F(PlayingTest, BrowsingAnotherSourceAndComingBack) {
    ClickRow(2);
    ASSERT_TRUE(WaitUrl(1));
    const int top = logic->ui.PlayIcoTop;
    EXPECT_EQ(top, 2 * logic->RowHeight + logic->Geometry().listTop + 2);
    EXPECT_TRUE(logic->ui.PlayIcoVisible);
    EXPECT_FALSE(logic->ui.PageAVisible[15]);

    WriteFavourites(Fav(4));
    Choose(0);
    EXPECT_FALSE(logic->ui.PlayIcoVisible);
    EXPECT_TRUE(logic->ui.PageAVisible[15]);
    EXPECT_FALSE(logic->YNPlaySongList());
    EXPECT_EQ(logic->ui.rows.size(), 4);

    const int feedHits = web.Hits("/xml/suixinting_jingdianlaoge.xml");
    logic->PageA_Click(15);
    EXPECT_EQ(logic->gsl.PHcombo.ListIndex(), 3);
    EXPECT_TRUE(logic->ui.PlayIcoVisible);
    EXPECT_EQ(logic->ui.PlayIcoTop, top);
    EXPECT_EQ(logic->ui.rows.size(), 3);
    EXPECT_FALSE(logic->ui.PageAVisible[15]);
    EXPECT_TRUE(logic->FetchOnSelect);
    test::Pump(100);
    EXPECT_EQ(web.Hits("/xml/suixinting_jingdianlaoge.xml"), feedHits) << "the playing list is not fetched again";
    EXPECT_TRUE(logic->YNPlaySong(2));
    EXPECT_FALSE(logic->YNPlaySong(1));
}

TEST_F(PlayingTest, RadioPlaylistRefillsAtItsEnd) {
    web.playlistSize = 2;
    Choose(2);
    ClickRow(1);
    EXPECT_EQ(player.url, web.QUrl("/songs/r1x1.wav"));
    EXPECT_EQ(logic->PlaySource, 2);
    EXPECT_TRUE(logic->ui.PageAVisible[14]);
    // Re-selecting the playing radio list shows it without a download.
    Choose(3);
    logic->gsl.PHcombo.SetListIndex(2);
    EXPECT_EQ(logic->ui.rows.size(), 2);
    EXPECT_EQ(web.playlistBatches, 1);

    Tick(kPlayStopped);
    ASSERT_TRUE(WaitUrl(2));
    EXPECT_EQ(player.url, web.QUrl("/songs/r2x0.wav"));
    EXPECT_EQ(logic->PlayIndex, 0);
    EXPECT_EQ(web.playlistBatches, 2);
    EXPECT_FALSE(logic->RefillPending);
    // Radio addresses are not watched for failure.
    Tick(kPlayReady);
    EXPECT_EQ(player.urls.size(), 2);
}

TEST_F(PlayingTest, RadioStationListStopsAtItsEnd) {
    WriteFile("radio.txt", "Station A<|>http://radio/a\r\nStation B<|>http://radio/b\r\n");
    Choose(1);
    ClickRow(1);
    EXPECT_EQ(player.url, QStringLiteral("http://radio/b"));
    EXPECT_EQ(lrc.fetches, 0) << "no lyrics for a station";
    player.duration = 0;
    Tick(kPlayPlaying);
    EXPECT_EQ(logic->ui.Label6, QStringLiteral(" 正在播放：Station B"));
    Tick(kPlayStopped);  // a station that ends is not followed by another
    Tick(kPlayReady);
    EXPECT_EQ(player.urls.size(), 1);
    logic->PlayNext();
    EXPECT_EQ(player.urls.size(), 1);
    EXPECT_EQ(player.state, kPlayStopped);
}

TEST_F(LogicTest, AutomaticPlayAtStart) {
    SetConfig("isRunPlay", "1");
    SetConfig("isPlayListIndex", "4");
    Links("Title1", "Singer1", {"http://a/1.mp3"});
    ASSERT_TRUE(Load());
    EXPECT_TRUE(logic->AutoPlay);
    ASSERT_TRUE(WaitUrl(1));
    EXPECT_EQ(player.url, QStringLiteral("http://a/1.mp3"));
    EXPECT_EQ(logic->PlaySource, 3);
    EXPECT_EQ(logic->PlayIndex, 0);
    EXPECT_FALSE(logic->AutoPlay);
}

}  // namespace
}  // namespace tavo
