#include "sources/get_song_list.h"

#include "sources/services.h"

#include "print_qstring.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <stdexcept>

namespace tavo {
namespace {

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        ServiceHosts h = LocalServiceHosts(1);
        h.radioPlaylist = "http://playlist.test";
        h.radioFeed = "http://feed.test";
        h.chartSite = "http://chart.test";
        SetServices(h);
    }
    void TearDown() override { ResetServices(); }
    GetSongList g;
};

TEST_F(CatalogueTest, SelectorListsTheNineteenLabelsInRowOrder) {
    g.BuildSourceCatalogue();
    const QStringList expected = {
        "我的收藏夹", "在线电台", "随便听听", "经典老歌", "轻音乐", "网络音乐金曲榜", "中国无线音乐销量榜",
        "百度中文金曲榜", "香港电台中文龙虎榜", "劲歌金曲榜", "香港电台叱吒903", "劲爆本地榜", "幽浮劲碟榜",
        "Hito排行榜", "醉心龙虎榜", QStringLiteral("Channel\uFF36"), "MTV封神榜", "BBC MUSIC TOP20",
        "The Billboard Hot 100"};
    EXPECT_EQ(g.PHcombo.Items(), expected);
    EXPECT_EQ(g.SourceCatalogue[19][0], "");
    EXPECT_EQ(g.SourceCatalogue[19][1], "");
    EXPECT_EQ(g.ChartSiteBase, "http://chart.test");
}

TEST_F(CatalogueTest, ChartSiteBaseSetAtStartUpIsKept) {
    g.ChartSiteBase = "http://elsewhere.test";
    g.BuildSourceCatalogue();
    EXPECT_EQ(g.ChartSiteBase, "http://elsewhere.test");
}

TEST_F(CatalogueTest, AddressesJoinTheServiceHostsWithTheFixedPaths) {
    g.BuildSourceCatalogue();
    EXPECT_EQ(g.SourceCatalogue[0][1], "");
    EXPECT_EQ(g.SourceCatalogue[1][1], "");
    EXPECT_EQ(g.SourceCatalogue[2][1], "http://playlist.test/j/mine/playlist?r={*rnd}&du=0&channel=1&last_channel=1");
    EXPECT_EQ(g.SourceCatalogue[3][1], "http://feed.test/xml/suixinting_jingdianlaoge.xml?.r={*rnd}");
    EXPECT_EQ(g.SourceCatalogue[4][1], "http://feed.test/xml/suixinting_qingyinyue.xml?.r={*rnd}");
    EXPECT_EQ(g.SourceCatalogue[6][1], "http://chart.test/top/html_top/top15/top15.htm");
    for (int row = 5; row <= 18; ++row) {
        EXPECT_TRUE(g.SourceCatalogue[row][1].startsWith("http://chart.test/top/html_top/top")) << row;
        EXPECT_EQ(g.SourceAddress(row), g.SourceCatalogue[row][1]) << "no placeholder in chart rows";
    }
}

TEST_F(CatalogueTest, EveryFetchOfAFeedRowCarriesAFreshToken) {
    g.BuildSourceCatalogue();
    const QString prefix = "http://feed.test/xml/suixinting_jingdianlaoge.xml?.r=";
    const QString first = g.SourceAddress(3);
    const QString second = g.SourceAddress(3);
    ASSERT_TRUE(first.startsWith(prefix));
    ASSERT_TRUE(second.startsWith(prefix));
    EXPECT_NE(first, second);
    EXPECT_FALSE(first.contains("{*rnd}"));
    EXPECT_FALSE(g.SourceAddress(2).contains("{*rnd}"));
    EXPECT_EQ(g.SourceAddress(19), "");
    EXPECT_THROW(g.SourceAddress(20), std::out_of_range);
    EXPECT_THROW(g.SourceAddress(-1), std::out_of_range);
}

TEST_F(CatalogueTest, ChoosingAPeriodFillsTheEntriesInOneStep) {
    g.ChartPeriodLinks = {"'/a.htm',A|'/b.htm',B,extra|", "", "'/c.htm'|"};
    g.Combo1.SetItems({"p0", "p1", "p2"});
    QSignalSpy entries(&g.Combo2, &Selector::ListIndexChanged);
    QSignalSpy refills(&g.Combo2, &Selector::ItemsChanged);

    g.Combo1.SetListIndex(0);
    EXPECT_EQ(g.ChartEntries, (QStringList{"'/a.htm',A", "'/b.htm',B,extra"}));
    EXPECT_EQ(g.Combo2.Items(), (QStringList{"A", "B"}));
    EXPECT_EQ(g.Combo2.ListIndex(), 0);
    EXPECT_EQ(entries.count(), 1);
    EXPECT_EQ(refills.count(), 1) << "the window refills its combo box once per period, not per entry";

    // An empty link list leaves the entry selector empty, nothing selected.
    g.Combo1.SetListIndex(1);
    EXPECT_TRUE(g.ChartEntries.isEmpty());
    EXPECT_EQ(g.Combo2.ListCount(), 0);
    EXPECT_EQ(g.Combo2.ListIndex(), -1);
    EXPECT_EQ(entries.count(), 1);

    // An entry without a text lists an empty text.
    g.Combo1.SetListIndex(2);
    EXPECT_EQ(g.Combo2.Items(), QStringList{""});

    // No selection changes nothing.
    g.Combo1.SetListIndex(-1);
    EXPECT_EQ(g.ChartEntries, QStringList{"'/c.htm'"});
}

TEST(SelectorModel, ItemsChangeInOneStepAndTheIndexEventAlwaysFires) {
    Selector sel;
    QList<int> changes;
    QObject::connect(&sel, &Selector::ListIndexChanged, [&](int i) { changes.append(i); });
    QSignalSpy refills(&sel, &Selector::ItemsChanged);
    sel.SetItems({"a", "b"});
    EXPECT_EQ(refills.count(), 1);
    sel.SetListIndex(1);
    sel.SetListIndex(1);   // unchanged: still an event, as the drop-down raises it
    sel.SetListIndex(7);   // outside the list: ignored
    sel.SetListIndex(-1);  // no selection
    EXPECT_EQ(changes, (QList<int>{1, 1, -1}));
    EXPECT_EQ(sel.Text(), QString());
    sel.SetListIndex(0);
    EXPECT_EQ(sel.Text(), "a");
    // New items drop the selection without an index event.
    sel.SetItems({"c"});
    EXPECT_EQ(sel.ListIndex(), -1);
    EXPECT_EQ(changes.size(), 4);
    EXPECT_EQ(refills.count(), 2);
}

}  // namespace
}  // namespace tavo
