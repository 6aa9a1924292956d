#include "sources/get_song_list.h"

#include "platform/codepage.h"
#include "support/temp_dir.h"

#include "print_qstring.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace tavo {
namespace {

const QString kSongStart = QStringLiteral("checked='checked' name='Checkbox' value='");
const QString kSongEnd = QStringLiteral("'>");
const std::string kBlockStart = "<div class='rankblock'><h2><code>";

std::string EncodeCp936Bytes(const QString& t) { return platform::EncodeCp936(t).toStdString(); }

// "%XX" for every byte of the code page 936 form of `text`.
std::string PercentCp936(const QString& text) {
    std::string out;
    char buf[4];
    for (char c : EncodeCp936Bytes(text)) {
        std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned char>(c));
        out += buf;
    }
    return out;
}

class ParserTest : public ::testing::Test {
protected:
    std::filesystem::path Page(const std::string& bytes) { return dir.Write("tmp.txt", bytes); }
    test::TempDir dir;
    GetSongList g;
};

TEST_F(ParserTest, MissingFileGivesEmptyResultsAndTouchesNothing) {
    g.RadioUrls = {"keep"};
    g.ChartPeriodLinks = {"keep|"};
    g.Combo1.SetItems({"old"});
    const auto missing = dir / "nope.txt";
    EXPECT_EQ(g.ParseXmlFeed(missing), "");
    EXPECT_EQ(g.ParseJsonPlaylist(missing), "");
    EXPECT_EQ(g.RadioUrls, QStringList{"keep"});
    g.ParseChartIndex(missing);
    EXPECT_EQ(g.Combo1.ListCount(), 1);
    EXPECT_EQ(g.ChartPeriodLinks, QStringList{"keep|"});
    EXPECT_EQ(g.ParseChartSongPage(missing, kSongStart, kSongEnd), "");
}

TEST_F(ParserTest, XmlFeeds) {
    const struct {
        const char* name;
        std::string page;
        QString list;
    } cases[] = {
        {"every space dropped, title and artist joined",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<playlist>\r\n"
         "<item><song>Hello World</song><artist>Some One</artist></item>\r\n"
         "<item><song>\"月亮\"\t之歌</song>\r\n  <artist>张 三</artist></item>\r\n</playlist>\r\n",
         QStringLiteral("HelloWorld ┈ SomeOne{@}月亮之歌 ┈ 张三{@}")},
        {"markup between song and artist stays in the title", "<song>A</song><album>B</album><artist>C</artist>",
         QStringLiteral("A ┈ <album>B</album>C{@}")},
        {"code page 936",
         "<song>" + EncodeCp936Bytes(QStringLiteral("老歌")) + "</song><artist>" + EncodeCp936Bytes(QStringLiteral("歌手")) + "</artist>",
         QStringLiteral("老歌 ┈ 歌手{@}")},
        {"no songs", "<playlist></playlist>", ""},
        {"empty page", "", ""},
        {"cut off before the artist", "<song>cut off before the artist", ""},
        {"list separators in a song are no entries", "<song>A{@}B<|>C</song><artist>D</artist>",
         QStringLiteral("ABC ┈ D{@}")},
    };
    for (const auto& c : cases) EXPECT_EQ(g.ParseXmlFeed(Page(c.page)), c.list) << c.name;
}

std::string JsonItem(const std::string& artist, const std::string& url, const std::string& title) {
    return R"({"album":"/subject/1","picture":"http://h/p.jpg","ssid":"a1","albumtitle":"专辑","company":"c","rating_avg":"4.1","artist":")" +
           artist + R"(","url":")" + url + R"(","title":")" + title + R"(","length":"30","sid":"1"})";
}

TEST_F(ParserTest, JsonPlaylistOfTwoItemsFillsThreeAddresses) {
    const auto f = Page(R"({"r":0,"song":[)" + JsonItem("歌手甲", R"(http:\/\/127.0.0.1:9\/song\/1.wav)", "第一首") + "," +
                        JsonItem("Tom&nbsp;Lee", "http://h/2.wav", "Two&nbsp;Words") + "]}");
    EXPECT_EQ(g.ParseJsonPlaylist(f), QStringLiteral("第一首 ┈ 歌手甲{@}TwoWords ┈ TomLee{@}"));
    ASSERT_EQ(g.RadioUrls.size(), 3);
    EXPECT_EQ(g.RadioUrls[0], "http://127.0.0.1:9/song/1.wav");
    EXPECT_EQ(g.RadioUrls[1], "http://h/2.wav");
    EXPECT_EQ(g.RadioUrls[2], "");
}

TEST_F(ParserTest, JsonPlaylistCleaningOrder) {
    // The artist's "&nbsp" becomes "/" and then goes with every "/" and ";";
    // the title loses "&nbsp;" whole, then ";" and "/".
    const auto f = Page(JsonItem("A/B;C&nbsp;D", "u", "x;y/z&nbsp;w"));
    EXPECT_EQ(g.ParseJsonPlaylist(f), QStringLiteral("xyzw ┈ ABCD{@}"));
}

// A title holding the list separator would shift every later song's
// address by one: it becomes a space, and the addresses stay in step.
TEST_F(ParserTest, JsonPlaylistSeparatorsInNamesKeepTheAddressesInStep) {
    const auto f = Page(R"({"song":[)" + JsonItem("a{@}b", "http://h/1", "t{@}u<|>v") + "," +
                        JsonItem("c", "http://h/2", "w") + "]}");
    const QString list = g.ParseJsonPlaylist(f);
    EXPECT_EQ(list, QStringLiteral("t u v ┈ a b{@}w ┈ c{@}"));
    EXPECT_EQ(list.split(QStringLiteral("{@}")).size(), 3);
    EXPECT_EQ(g.RadioUrls.value(1), QStringLiteral("http://h/2"));
}

TEST_F(ParserTest, JsonPlaylistMalformed) {
    g.RadioUrls = {"keep"};
    EXPECT_EQ(g.ParseJsonPlaylist(Page("   ")), "");
    EXPECT_EQ(g.RadioUrls, QStringList{"keep"}) << "a blank reply leaves the addresses";

    // Too few fields: nothing from that item on.
    EXPECT_EQ(g.ParseJsonPlaylist(Page(R"({"title":"x"})")), "");
    EXPECT_EQ(g.RadioUrls.size(), 2);
    const auto f = Page("[" + JsonItem("a", "u1", "t1") + R"(,{"title":"short"},)" + JsonItem("b", "u2", "t2") + "]");
    EXPECT_EQ(g.ParseJsonPlaylist(f), QStringLiteral("t1 ┈ a{@}"));
    EXPECT_EQ(g.RadioUrls, (QStringList{"u1", "", "", ""}));
}

std::string ChartBlock(const std::string& title, const std::vector<std::pair<std::string, std::string>>& links) {
    std::string s = kBlockStart + title + "</code></h2><ul>\r\n";
    for (const auto& [href, text] : links) s += "<li><a href='" + href + "'>" + text + "</a></li>\r\n";
    return s + "</ul></div>\r\n";
}

TEST_F(ParserTest, ChartIndexFillsPeriodsAndSelectsTheFirst) {
    QSignalSpy periods(&g.Combo1, &Selector::ListIndexChanged);
    QSignalSpy entries(&g.Combo2, &Selector::ListIndexChanged);
    const auto f = Page("<html><body>\r\n" +
                        ChartBlock("2010-05-07", {{"/top/a/1.htm", "Sunny Day"}, {"/top/a/2.htm", "雨天"}}) +
                        ChartBlock("04-30", {{"/top/a/3.htm", "Third"}}) + "</body></html>");
    g.Combo1.SetItems({"stale"});
    g.ParseChartIndex(f);
    EXPECT_EQ(g.Combo1.Items(), (QStringList{"2010-", "04-30"}));
    EXPECT_EQ(g.ChartPeriodLinks, (QStringList{"'/top/a/1.htm',Sunny Day|'/top/a/2.htm',雨天|", "'/top/a/3.htm',Third|"}));
    EXPECT_EQ(g.Combo1.ListIndex(), 0);
    ASSERT_EQ(periods.count(), 1);
    // The period level ran: entries of period 0, first one selected.
    EXPECT_EQ(g.ChartEntries, (QStringList{"'/top/a/1.htm',Sunny Day", "'/top/a/2.htm',雨天"}));
    EXPECT_EQ(g.Combo2.Items(), (QStringList{"Sunny Day", "雨天"}));
    EXPECT_EQ(entries.count(), 1);
    EXPECT_EQ(g.Combo2.ListIndex(), 0);
}

TEST_F(ParserTest, ChartSelectorsFillInOneStepUpToTheCap) {
    // 600 periods, the first with 600 entries: each selector is filled once
    // (one refill of the window's combo box), and both stop at the cap.
    constexpr int kMany = 600;
    std::vector<std::pair<std::string, std::string>> links;
    for (int i = 0; i < kMany; ++i) links.emplace_back("/e/" + std::to_string(i) + ".htm", "e" + std::to_string(i));
    std::string page = ChartBlock("first", links);
    for (int i = 1; i < kMany; ++i) page += ChartBlock(QString::asprintf("p%04d", i).toStdString(), {{"/x.htm", "x"}});
    QSignalSpy periodRefills(&g.Combo1, &Selector::ItemsChanged);
    QSignalSpy entryRefills(&g.Combo2, &Selector::ItemsChanged);
    g.ParseChartIndex(Page(page));
    EXPECT_EQ(periodRefills.count(), 1);
    EXPECT_EQ(entryRefills.count(), 1);
    EXPECT_EQ(g.Combo1.ListCount(), GetSongList::kMaxChartItems);
    EXPECT_EQ(g.ChartPeriodLinks.size(), GetSongList::kMaxChartItems);
    EXPECT_EQ(g.Combo1.Items().last(), QString::asprintf("p%04d", GetSongList::kMaxChartItems - 1));
    EXPECT_EQ(g.Combo2.ListCount(), GetSongList::kMaxChartItems);
    EXPECT_EQ(g.ChartEntries.size(), GetSongList::kMaxChartItems);
    EXPECT_EQ(g.Combo2.Items().last(), QString("e%1").arg(GetSongList::kMaxChartItems - 1));
}

TEST_F(ParserTest, ChartIndexWithoutBlocksLeavesPeriodSelectorEmpty) {
    g.ChartPeriodLinks = {"old|"};
    g.Combo1.SetItems({"old"});
    QSignalSpy periods(&g.Combo1, &Selector::ListIndexChanged);
    for (const std::string& page : std::vector<std::string>{"<html>no chart here</html>", "",
                                   kBlockStart + "2010</code></h2><ul><li>block never ends"}) {
        g.ParseChartIndex(Page(page));
        EXPECT_EQ(g.Combo1.ListCount(), 0) << page;
        EXPECT_EQ(g.Combo1.ListIndex(), -1);
        EXPECT_EQ(g.ChartPeriodLinks, QStringList{"old|"});
    }
    EXPECT_EQ(periods.count(), 0);
}

TEST_F(ParserTest, ChartIndexShortTitleTakesWhatFollowsAndAnEmptyBlockGivesAnEmptyPeriod) {
    g.ParseChartIndex(Page(ChartBlock("abc", {})));
    EXPECT_EQ(g.Combo1.Items(), QStringList{"abc</"});
    EXPECT_EQ(g.ChartPeriodLinks, QStringList{""});
}

TEST_F(ParserTest, ChartIndexWithSeparatorsInsideTheBlockNeverCrashes) {
    // Page text holding the record separators splits into more periods; the
    // two lists stay the same length.
    g.ParseChartIndex(Page(kBlockStart + "{-}{@}x<a href='/a'>n{-}m</a></ul>"));
    EXPECT_EQ(g.Combo1.ListCount(), g.ChartPeriodLinks.size());
    EXPECT_GE(g.Combo1.ListCount(), 2);
}

std::string SongPiece(const std::string& title, const std::string& artist) {
    return "<input type='checkbox' checked='checked' name='Checkbox' value='123|456|" + title + "|" + artist + "|0'>";
}

TEST_F(ParserTest, ChartSongPageDecodesCodePage936Names) {
    const auto f = Page("<table>\r\n" + SongPiece(PercentCp936(QStringLiteral("音乐")), PercentCp936(QStringLiteral("歌手"))) +
                        "\r\n" + SongPiece("Hello+World%28Live%29", "Tom%26Jerry") + "\r\n</table>");
    EXPECT_EQ(g.ParseChartSongPage(f, kSongStart, kSongEnd), QStringLiteral("音乐 ┈ 歌手{@}Hello World(Live) ┈ Tom Jerry{@}"));
}

TEST_F(ParserTest, ChartSongPageCleaning) {
    struct Case {
        const char* name;
        std::string title, artist;
        QString expected;
    };
    const Case cases[] = {
        {"bracketed groups before decoding", "Song(Live)", "A(feat.B)", QStringLiteral("Song ┈ A{@}")},
        {"& and / in the artist become spaces", "T", "A&B/C", QStringLiteral("T ┈ A B C{@}")},
        {"backslash: gone from title, slash in artist", "a\\b", "c\\d", QStringLiteral("ab ┈ c/d{@}")},
        {"# and double quote removed", "#\"x\"", "\"y\"#", QStringLiteral("x ┈ y{@}")},
        {"percent-encoded & becomes a space", "a%26b", "c%26d", QStringLiteral("a b ┈ c d{@}")},
        {"trailing % decodes to U+0000 which is removed", "ab%", "cd%", QStringLiteral("ab ┈ cd{@}")},
        {"spaces trimmed", "++x++", "%20y%20", QStringLiteral("x ┈ y{@}")},
        {"list separators become spaces", "a%7B%40%7Db", "c<%7C>d", QStringLiteral("a b ┈ c d{@}")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(g.ParseChartSongPage(Page(SongPiece(c.title, c.artist)), kSongStart, kSongEnd), c.expected) << c.name;
}

TEST_F(ParserTest, ChartSongPageMalformedGivesThePartialList) {
    EXPECT_EQ(g.ParseChartSongPage(Page("<html>nothing</html>"), kSongStart, kSongEnd), "");
    // A piece with too few fields ends the list.
    const auto f = Page(SongPiece("A", "B") + "checked='checked' name='Checkbox' value='1|2|only'>" + SongPiece("C", "D"));
    EXPECT_EQ(g.ParseChartSongPage(f, kSongStart, kSongEnd), QStringLiteral("A ┈ B{@}"));
    // A truncated last piece is not cut at all.
    const auto t = Page(SongPiece("A", "B") + "checked='checked' name='Checkbox' value='1|2|C|D");
    EXPECT_EQ(g.ParseChartSongPage(t, kSongStart, kSongEnd), QStringLiteral("A ┈ B{@}"));
    // A name longer than any song's ends the list too (its bracketed groups
    // would cost the name's length each).
    std::string groups;
    for (int i = 0; i < 2000; ++i) groups += "(" + std::to_string(i) + ")";
    const auto hostile = Page(SongPiece("A", "B") + SongPiece(groups, "x") + SongPiece("C", "D"));
    EXPECT_EQ(g.ParseChartSongPage(hostile, kSongStart, kSongEnd), QStringLiteral("A ┈ B{@}"));
    EXPECT_EQ(g.ParseChartSongPage(Page(SongPiece(std::string(4096, 'n'), "x")), kSongStart, kSongEnd).size(),
              4096 + 3 + 1 + 3);
    // A lead byte without its trail byte still decodes to one character.
    const auto lone = Page(SongPiece("%D2", "x"));
    EXPECT_EQ(g.ParseChartSongPage(lone, kSongStart, kSongEnd), QStringLiteral("? ┈ x{@}"));
}

}  // namespace
}  // namespace tavo
