// The viewed list, its pages and files, fetching lists, and going back to
// the list that plays.
#include "app_fixture.h"
#include "app/status_texts.h"
#include "../sources/print_qstring.h"
#include "support/core/fake_net.h"

namespace tavo {
namespace {

using platform::kPlayStopped;
using test::Song;
using test::WaitFor;

class ListsTest : public test::CoreTest {};

TEST_F(ListsTest, PagesOfTenRows) {
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
        EXPECT_EQ(core->ui.Label4, QString::fromLatin1(c.firstLabel)) << c.entries;
        EXPECT_EQ(core->ui.rows.size(), std::min(c.entries, 10));
        core->PageA_Click(1);  // before the first page: nothing
        EXPECT_EQ(core->CurPage, 0);
        core->PageA_Click(3);
        EXPECT_EQ(core->ui.Label4, QString::fromLatin1(c.lastLabel));
        EXPECT_EQ(core->ui.rows.size(), c.lastRows);
        const int last = core->CurPage;
        core->PageA_Click(2);  // past the last page: nothing
        EXPECT_EQ(core->CurPage, last);
        EXPECT_EQ(core->ui.rows.value(0), c.entries ? QStringLiteral("Song%1").arg(last * 10) : QString());
        core->PageA_Click(0);
        EXPECT_EQ(core->CurPage, 0);
    }
}

// A list is cut at 100,000 entries: the last page is 10,000 and a row far
// down the list plays its own song (a 16-bit index would wrap past 32,767
// and a 16-bit page past 327,670 entries).
TEST_F(ListsTest, LongListsAreCutAndNeitherPageNorIndexWraps) {
    SetConfig("isPlayListIndex", "1");
    WriteFavourites(Fav(400000));
    ASSERT_TRUE(Load());
    EXPECT_EQ(core->ListItems.size(), kMaxListEntries + 1);
    core->PageA_Click(3);
    EXPECT_EQ(core->ui.Label4, QStringLiteral("10000/10000"));
    ASSERT_EQ(core->ui.rows.size(), 10);
    EXPECT_EQ(core->ui.rows[9], QStringLiteral("Song99999"));
    ClickRow(5);
    EXPECT_EQ(core->PlayIndex, 99995);
    ASSERT_TRUE(WaitFor([&] { return !web.Queries().empty(); }));
    EXPECT_EQ(web.Queries().back(), "Song99995");
}

TEST_F(ListsTest, ListFileLines) {
    ASSERT_TRUE(Load());
    // Trailing "<|>", lines of spaces, a line without "<|>", a GB18030 line,
    // a stray "{@}".
    WriteFavourites("  A \xe2\x94\x88 B<|>  \r\n     \r\n\r\nNoLink\r\nLocal<|>/music/x.mp3\r\n\xd2\xf4\xc0\xd6<|>\r\nX{@}Y<|>u{@}v\r\n");
    Choose(0);
    EXPECT_EQ(core->ListItems, (QStringList{Song("A", "B"), "NoLink", "Local", QStringLiteral("音乐"), "XY", ""}));
    EXPECT_EQ(core->list.FavLinks, (QStringList{"", "", "/music/x.mp3", "", "uv"}));
    EXPECT_FALSE(core->ui.LoadLabelVisible);

    // A favourites file spelt in other letters is the same file.
    std::filesystem::remove(folder() / "MySongList.txt");
    WriteFile("mysonglist.TXT", "Only<|>\r\n");
    Choose(0);
    EXPECT_EQ(core->ListItems, (QStringList{"Only", ""}));

    // Missing files: the empty list, no message.
    std::filesystem::remove(folder() / "mysonglist.TXT");
    Choose(0);
    EXPECT_EQ(core->ListItems, QStringList{QString()});
    EXPECT_EQ(core->ui.Label4, QStringLiteral("1/1"));
    Choose(1);
    EXPECT_EQ(core->ListItems, QStringList{QString()});
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ListsTest, ChartPeriodsEntriesAndSongs) {
    ASSERT_TRUE(Load());
    EXPECT_FALSE(core->ui.Combo1Visible);
    // A chart: its periods, the first period's entries, the first entry's songs.
    core->gsl.PHcombo.SetListIndex(5);
    EXPECT_TRUE(core->ui.Combo1Visible);
    EXPECT_TRUE(core->ui.PageAVisible[5]);
    ASSERT_TRUE(WaitFor([&] { return core->ui.rows.size() == 2; }));
    EXPECT_EQ(core->gsl.Combo1.Items(), QStringList{"2010-"});
    EXPECT_EQ(core->gsl.Combo2.Items(), (QStringList{"第一期", "第二期"}));
    EXPECT_EQ(core->gsl.Combo2.ListIndex(), 0);
    EXPECT_EQ(core->ui.rows, (QStringList{Song("Chart1", "A1"), Song("Chart2", "A2")}));
    EXPECT_EQ(web.Hits("/top/x/1.htm"), 1);
    EXPECT_FALSE(core->ui.LoadLabelVisible);

    // The second entry.
    web.chart = {{"Other", "B"}};
    core->gsl.Combo2.SetListIndex(1);
    EXPECT_EQ(core->ui.LoadLabel, QStringLiteral("正在获取列表，请稍后......"));
    ASSERT_TRUE(WaitFor([&] { return core->ui.rows.size() == 1; }));
    EXPECT_EQ(web.Hits("/top/x/2.htm"), 1);

    // Back to a plain source: the chart selectors lose their selection.
    Choose(4);
    EXPECT_EQ(core->gsl.Combo1.ListIndex(), -1);
    EXPECT_EQ(core->gsl.Combo2.ListIndex(), -1);
    EXPECT_FALSE(core->ui.Combo2Visible);
}

TEST_F(ListsTest, AFailedListDownloadEndsInTheErrorAndTheEmptyList) {
    test::FakeNet net;
    SetConfig("isPlayListIndex", "1");
    ASSERT_TRUE(Load());
    for (const int source : {2, 3, 5}) {
        WriteFavourites(Fav(3));
        Choose(0);
        core->gsl.PHcombo.SetListIndex(source);
        net.Latest()->Fail(QStringLiteral("refused"));
        EXPECT_EQ(core->ui.LoadLabel, QStringLiteral("获取列表出错，无法连接服务器")) << source;
        EXPECT_TRUE(core->ui.LoadLabelVisible);
        EXPECT_EQ(core->ListItems, QStringList{QString()});
        EXPECT_EQ(core->ui.Label4, QStringLiteral("1/1"));
        EXPECT_TRUE(core->ui.rows.isEmpty());
    }
}

// Parsing lets pending events run. A choice made meanwhile wins: the page
// that was being parsed leaves no rows, periods or radio addresses behind.
TEST_F(ListsTest, APageOvertakenByAnotherChoiceIsDropped) {
    test::FakeNet net;
    SetConfig("isPlayListIndex", "1");
    WriteFavourites(Fav(2));
    ASSERT_TRUE(Load());
    const QString base = QString::fromStdString(web.Url(""));
    const struct {
        int source;
        const char* path;
        std::string body;
    } pages[] = {
        {3, "/xml/", test::FeedBody({{"T", "A"}, {"U", "B"}, {"V", "C"}})},
        {5, "/top/", test::ChartIndexBody()},
        {2, "/j/mine/", test::PlaylistBody(web.Url(""), 7, 3)},
    };
    for (const auto& p : pages) {
        core->gsl.PHcombo.SetListIndex(p.source);
        // The favourites are chosen while the page is parsed.
        QMetaObject::invokeMethod(core.get(), [&] { core->gsl.PHcombo.SetListIndex(0); }, Qt::QueuedConnection);
        ASSERT_TRUE(net.Reply(QString::fromLatin1(p.path), QByteArray::fromStdString(p.body))) << p.path;
        EXPECT_EQ(core->gsl.PHcombo.ListIndex(), 0) << p.path;
        EXPECT_EQ(core->ListItems, (QStringList{"Song0", "Song1", ""})) << p.path;
        EXPECT_EQ(core->ui.rows.size(), 2) << p.path;
        EXPECT_EQ(core->gsl.Combo1.ListCount(), 0) << p.path;
        EXPECT_TRUE(core->gsl.RadioUrls.isEmpty()) << p.path;
        EXPECT_EQ(net.Count(), &p - pages + 1) << "no entry fetch for a dropped chart";
    }
}

// A favourites file past the list files' limit is not read (and so never
// rewritten from a part of it): the list is empty and the status says why.
TEST_F(ListsTest, AnOversizedListFileIsNotRead) {
    WriteFavourites(Fav(2));
    std::filesystem::resize_file(folder_->path() / "MySongList.txt", static_cast<std::uintmax_t>(kMaxListFileBytes) + 1);
    SetConfig("isPlayListIndex", "1");
    ASSERT_TRUE(Load());
    EXPECT_EQ(core->ListItems, QStringList{""});
    EXPECT_EQ(core->ui.Label6, texts::kListFileTooLarge);
}

// Every selection cancels what the one before it started: a period without
// entries drops the entry page still on its way for the period before.
TEST_F(ListsTest, APeriodWithoutEntriesDropsThePendingEntryPage) {
    test::FakeNet net;
    ASSERT_TRUE(Load());
    core->gsl.PHcombo.SetListIndex(5);
    ASSERT_TRUE(net.Reply(QStringLiteral("/top/"), QByteArray::fromStdString(test::ChartIndexBody())));
    const QPointer<test::FakeReader> entry = net.Latest(QStringLiteral("/top/x/1.htm"));
    ASSERT_TRUE(entry);
    // A second period whose link list is empty, chosen before the page comes.
    core->gsl.ChartPeriodLinks.append(QString());
    core->gsl.Combo1.SetItems({QStringLiteral("2010-"), QStringLiteral("2009-")});
    core->gsl.Combo1.SetListIndex(1);
    EXPECT_EQ(core->gsl.Combo2.ListCount(), 0);
    EXPECT_FALSE(core->ui.LoadLabelVisible);
    ASSERT_TRUE(entry);
    entry->Reply(QByteArray::fromStdString(test::ChartPageBody({{"Late", "X"}})));
    EXPECT_TRUE(core->ui.rows.isEmpty());
    EXPECT_EQ(core->ListItems, QStringList{""});
}

// A chart index that gives nothing leaves nothing of the list before it.
TEST_F(ListsTest, ANewFetchClearsTheListBeforeIt) {
    test::FakeNet net;
    SetConfig("isPlayListIndex", "1");
    ASSERT_TRUE(Load());
    core->gsl.PHcombo.SetListIndex(5);
    ASSERT_TRUE(net.Reply("/top/html_top/top0/", QByteArray::fromStdString(test::ChartIndexBody())));
    ASSERT_TRUE(net.Reply("/top/x/1.htm", QByteArray::fromStdString(test::ChartPageBody({{"C", "1"}, {"D", "2"}}))));
    ASSERT_EQ(core->ui.rows.size(), 2);

    core->gsl.PHcombo.SetListIndex(6);
    ASSERT_TRUE(net.Reply("/top/html_top/top15/", "<html>nothing here</html>"));
    core->PageA_Click(0);
    EXPECT_TRUE(core->ui.rows.isEmpty());
    EXPECT_EQ(core->ListItems, QStringList{QString()});
    EXPECT_EQ(core->ui.Label4, QStringLiteral("1/1"));
    EXPECT_EQ(core->gsl.Combo1.ListCount(), 0);
    EXPECT_EQ(core->gsl.Combo2.ListCount(), 0);
    EXPECT_FALSE(core->ui.LoadLabelVisible);
}

// An entry link that leaves the chart site is not fetched; the user is told.
TEST_F(ListsTest, AChartEntryOffTheChartSiteIsNotFetched) {
    test::FakeNet net;
    SetConfig("isPlayListIndex", "1");
    ASSERT_TRUE(Load());
    core->gsl.PHcombo.SetListIndex(5);
    const std::string index = "<html><body><div class='rankblock'><h2><code>2010-05</code></h2><ul>\r\n"
                              "<li><a href='//elsewhere.example/x/1.htm'>第一期</a></li>\r\n</ul></div></body></html>";
    ASSERT_TRUE(net.Reply("/top/html_top/top0/", QByteArray::fromStdString(index)));
    EXPECT_EQ(net.Count(), 1) << "nothing fetched after the index";
    EXPECT_TRUE(core->ui.LoadLabelVisible);
    EXPECT_EQ(core->ui.LoadLabel, texts::kRefusedLink);
}

TEST_F(ListsTest, RadioPlaylistRefillsAtItsEndWithoutTouchingTheViewedList) {
    web.playlistSize = 2;
    SetConfig("isPlayListIndex", "4");  // the playlist is fetched once, below
    ASSERT_TRUE(Load());
    Choose(2);
    ClickRow(1);
    EXPECT_EQ(player.url, web.QUrl("/songs/r1x1.wav"));
    EXPECT_EQ(core->PlaySource, 2);
    EXPECT_TRUE(core->ui.PageAVisible[14]);
    // Re-selecting the playing radio list shows it without a download.
    Choose(3);
    core->gsl.PHcombo.SetListIndex(2);
    EXPECT_EQ(core->ui.rows.size(), 2);
    EXPECT_EQ(web.playlistBatches, 1);

    // The next batch arrives while the favourites are viewed: only the play
    // list changes.
    WriteFavourites(Fav(3));
    Choose(0);
    Tick(kPlayStopped);
    ASSERT_TRUE(WaitUrl(2));
    EXPECT_EQ(player.url, web.QUrl("/songs/r2x0.wav"));
    EXPECT_EQ(core->PlayIndex, 0);
    EXPECT_EQ(core->playback.play.entries, (QStringList{Song("Track0", "Radio2"), Song("Track1", "Radio2")}));
    EXPECT_EQ(core->ListItems, (QStringList{"Song0", "Song1", "Song2", ""}));
    EXPECT_EQ(core->list.FavLinks.size(), 3);
    EXPECT_FALSE(core->fetch.RefillPending());
    // Radio addresses are not watched for failure.
    Tick(platform::kPlayReady);
    EXPECT_EQ(player.urls.size(), 2);
}

TEST_F(ListsTest, AFailedRefillLeavesTheViewedListAlone) {
    test::FakeNet net;
    SetConfig("isPlayListIndex", "1");
    WriteFavourites(Fav(3));
    ASSERT_TRUE(Load());
    core->gsl.PHcombo.SetListIndex(2);
    ASSERT_TRUE(net.Reply("/j/mine/", QByteArray::fromStdString(test::PlaylistBody(web.Url(""), 1, 1))));
    ClickRow(0);
    Choose(0);
    Tick(kPlayStopped);  // the end of the playlist: its next batch
    ASSERT_TRUE(core->fetch.RefillPending());
    net.Latest("/j/mine/")->Fail(QStringLiteral("down"));
    EXPECT_EQ(core->ListItems, (QStringList{"Song0", "Song1", "Song2", ""}));
    EXPECT_EQ(core->ui.rows.size(), 3);
    EXPECT_FALSE(core->ui.LoadLabelVisible);
    EXPECT_EQ(core->ui.Label6, QStringLiteral("获取列表出错，无法连接服务器"));
}

// Reading a batch lets pending events run: "next" pressed meanwhile asks
// for another batch, and the one being read is dropped, not played.
TEST_F(ListsTest, ARefillOvertakenByTheNextOneIsDropped) {
    test::FakeNet net;
    SetConfig("isPlayListIndex", "1");
    ASSERT_TRUE(Load());
    const std::string base = web.Url("");
    core->gsl.PHcombo.SetListIndex(2);
    ASSERT_TRUE(net.Reply("/j/mine/", QByteArray::fromStdString(test::PlaylistBody(base, 1, 1))));
    ClickRow(0);
    Tick(kPlayStopped);  // the end of the playlist: batch 2 is asked for
    const QPointer<test::FakeReader> second = net.Latest("/j/mine/");
    ASSERT_TRUE(second);
    QMetaObject::invokeMethod(core.get(), [&] { core->PlayNext(); }, Qt::QueuedConnection);
    second->Reply(QByteArray::fromStdString(test::PlaylistBody(base, 2, 1)));
    EXPECT_EQ(player.urls, QStringList{web.QUrl("/songs/r1x0.wav")});
    ASSERT_TRUE(core->fetch.RefillPending());
    ASSERT_TRUE(net.Reply("/j/mine/", QByteArray::fromStdString(test::PlaylistBody(base, 3, 1))));
    EXPECT_EQ(player.urls, (QStringList{web.QUrl("/songs/r1x0.wav"), web.QUrl("/songs/r3x0.wav")}));
}

}  // namespace
}  // namespace tavo
