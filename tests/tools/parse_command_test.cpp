// tavo-tool parse: the parsers on saved pages, results as JSON.
#include "demo_content.h"

#include "support/run_tool.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct ParseRun {
    int code;
    QJsonObject json;
    QString err;
};

ParseRun Parse(const QString& kind, const std::filesystem::path& file) {
    const auto r = tavo::test::RunTool({"parse", kind, QString::fromStdString(file.string())});
    return {r.code, QJsonDocument::fromJson(r.bytes).object(), r.err};
}

TEST(ParseCommand, EachKindPrintsWhatItsParserYields) {
    using namespace tavo::services;
    tavo::test::TempDir dir;
    const DemoChart& chart = DemoCharts()[0];

    const ParseRun feed = Parse("xml-feed", dir.Write("feed.xml", FeedXml("qingyinyue")));
    ASSERT_EQ(feed.code, 0) << feed.err.toStdString();
    EXPECT_TRUE(feed.json["List"].toString().startsWith(QStringLiteral("竹林听雨 ┈ 丝竹坊{@}")));

    const ParseRun playlist = Parse("json-playlist", dir.Write("p.json", RadioPlaylistJson("http://h:1", 0)));
    ASSERT_EQ(playlist.code, 0);
    EXPECT_EQ(playlist.json["List"].toString().count("{@}"), 8);
    const QJsonArray urls = playlist.json["RadioUrls"].toArray();
    ASSERT_EQ(urls.size(), 9);
    EXPECT_TRUE(urls[0].toString().startsWith("http://h:1/song/t"));

    const ParseRun index = Parse("chart-index", dir.Write("index.htm", ChartIndexPage(chart)));
    ASSERT_EQ(index.code, 0);
    const QJsonArray periods = index.json["Periods"].toArray();
    ASSERT_EQ(periods.size(), kChartPeriods);
    EXPECT_EQ(periods[0].toObject()["Title"].toString(), QStringLiteral("第018期"));
    EXPECT_EQ(periods[0].toObject()["Links"].toString(),
              QStringLiteral("'/top/html_top/top0/p018_1.htm',华语金曲|'/top/html_top/top0/p018_2.htm',新歌速递|"));

    const ParseRun songs = Parse("chart-songs", dir.Write("songs.htm", ChartSongPage(chart, 0, 0)));
    ASSERT_EQ(songs.code, 0);
    EXPECT_EQ(songs.json["List"].toString().count("{@}"), kSongsPerEntry);
}

TEST(ParseCommand, MistakesFailOnStderr) {
    tavo::test::TempDir dir;
    const ParseRun missing = Parse("xml-feed", dir / "missing.xml");
    EXPECT_NE(missing.code, 0);
    EXPECT_TRUE(missing.err.contains("no such file"));
    const ParseRun kind = Parse("html", dir.Write("a.htm", "x"));
    EXPECT_NE(kind.code, 0);
    EXPECT_TRUE(kind.err.contains("usage"));
    // A page without any marker is not an error: the result is empty.
    const ParseRun empty = Parse("chart-index", dir.Write("b.htm", "<html></html>"));
    EXPECT_EQ(empty.code, 0);
    EXPECT_TRUE(empty.json["Periods"].toArray().isEmpty());
}

}  // namespace
