// The parsers on the pages the bundled local services serve, fetched as the
// player fetches them: catalogue address, download control, "tmp.txt".
#include "sources/get_song_list.h"

#include "demo_content.h"
#include "demo_service.h"
#include "download/qel_down.h"
#include "platform/ansi_text.h"
#include "sources/services.h"
#include "sources/text_codecs.h"
#include "support/temp_dir.h"

#include "../print_qstring.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

class ServedPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Start(0));
        SetServices(LocalServiceHosts(service.port()));
        g.BuildSourceCatalogue();
    }
    void TearDown() override { ResetServices(); }

    // Downloads `url` into tmp.txt; its path, or empty on failure.
    std::filesystem::path Download(const QString& url) {
        QelDown d;
        d.setFileURL(url);
        d.setSaveFileName(platform::PathToQString(tmp));
        return d.BeginDownload(true) ? tmp : std::filesystem::path();
    }

    services::DemoService service;
    test::TempDir dir;
    std::filesystem::path tmp = dir / "tmp.txt";
    GetSongList g;
};

QString Display(const std::string& title, const std::string& artist) {
    return QString::fromStdString(title) + kTitleArtistSep + QString::fromStdString(artist);
}

TEST_F(ServedPagesTest, EveryChartDrillsDownToItsSongs) {
    const QString songStart = QStringLiteral("checked='checked' name='Checkbox' value='");
    for (int row = 5; row <= 18; ++row) {
        const services::DemoChart& chart = services::DemoCharts()[row - 5];
        SCOPED_TRACE(chart.name);
        EXPECT_EQ(g.SourceCatalogue[row][0].toStdString(), chart.name);
        g.ParseChartIndex(Download(g.SourceAddress(row)));
        ASSERT_EQ(g.Combo1.ListCount(), services::kChartPeriods);
        ASSERT_EQ(g.ChartPeriodLinks.size(), services::kChartPeriods);
        for (const QString& title : g.Combo1.Items()) EXPECT_EQ(title.size(), 5) << title.toStdString();
        for (int period = 0; period < services::kChartPeriods; ++period) {
            g.Combo1.SetListIndex(period);
            ASSERT_EQ(g.Combo2.ListCount(), services::kChartEntries);
            for (int entry = 0; entry < services::kChartEntries; ++entry) {
                const QString list =
                    g.ParseChartSongPage(Download(g.ChartEntryAddress(entry)), songStart, QStringLiteral("'>"));
                QString expected;
                for (const services::DemoSong* s : services::ChartEntrySongs(chart, period, entry)) {
                    // The page's cleaning: bracketed groups go, "&" and "/"
                    // in artists become spaces.
                    QString title = RemoveBracketed(QString::fromStdString(s->title), "(", ")");
                    QString artist = QString::fromStdString(s->artist).replace('&', ' ').replace('/', ' ');
                    expected += TrimSpaces(title) + kTitleArtistSep + TrimSpaces(artist) + kEntrySep;
                }
                EXPECT_EQ(list, expected) << period << " " << entry;
            }
        }
    }
}

TEST_F(ServedPagesTest, FeedsListTheirSongsWithoutSpaces) {
    for (int row : {3, 4}) {
        const QString list = g.ParseXmlFeed(Download(g.SourceAddress(row)));
        const QStringList songs = list.split(kEntrySep);
        ASSERT_EQ(songs.size(), 13) << row;
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(songs[i].count(kTitleArtistSep), 1) << songs[i].toStdString();
            EXPECT_FALSE(QString(songs[i]).remove(kTitleArtistSep).contains(' ')) << songs[i].toStdString();
        }
    }
}

TEST_F(ServedPagesTest, RadioPlaylistGivesFreshBatchesOfPlayableAddresses) {
    const QString first = g.ParseJsonPlaylist(Download(g.SourceAddress(2)));
    const QStringList firstUrls = g.RadioUrls;
    const QString second = g.ParseJsonPlaylist(Download(g.SourceAddress(2)));
    EXPECT_NE(first, second) << "every request brings a new batch";
    const QStringList songs = first.split(kEntrySep);
    ASSERT_EQ(songs.size(), 9);
    ASSERT_EQ(firstUrls.size(), 9);
    EXPECT_EQ(firstUrls.last(), "");
    EXPECT_EQ(songs[0], Display(services::DemoSongs()[0].title, services::DemoSongs()[0].artist).remove('/').remove(';'));
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(firstUrls[i].startsWith(QString::fromStdString(service.Url("/song/t"))));
    const auto wav = Download(firstUrls[0] + "?sec=1");
    ASSERT_FALSE(wav.empty());
    EXPECT_EQ(test::TempDir::Read(wav).substr(0, 4), "RIFF");
}

TEST_F(ServedPagesTest, SearchFindsTheSameSongTheListsName) {
    // A chart song's display text, searched as the player searches it.
    QString display = Display("旧唱片", "叶知秋");
    QString q = display;
    q.replace(kTitleArtistSep, "+").replace("_", "+").replace("-", "+");
    const QString url = QString::fromStdString(service.Url("/api/links?query=")) + UrlEncodeUtf8(q) +
                        "&jsoncallback=jsonp1234567890123";
    const QString reply = platform::ReadTextJoined(Download(url));
    EXPECT_TRUE(reply.startsWith("jsonp1234567890123({"));
    QString candidates = CutBetween(reply, QStringLiteral("\"url\":\""), QStringLiteral("\",\""));
    candidates.remove('"');
    const QStringList links = candidates.split(kEntrySep);
    ASSERT_EQ(links.size(), 3);
    const std::uint32_t seed = services::SongSeed("旧唱片(Live)", "叶知秋");
    EXPECT_EQ(links[0], QString::fromStdString(service.Url(services::SongPath(seed))));
    EXPECT_TRUE(links[1].startsWith(links[0] + "?"));
    EXPECT_FALSE(Download(links[1]).empty());
}

}  // namespace
}  // namespace tavo
