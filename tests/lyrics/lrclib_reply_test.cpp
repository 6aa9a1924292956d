// The synced-lyrics library's replies and the requests built for a song.
#include "lyrics/lrclib_reply.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

const QByteArray kTrack = R"({"id":3396226,"name":"晴天","trackName":"晴天","artistName":"周杰伦",
  "albumName":"叶惠美","duration":269.0,"instrumental":false,
  "plainLyrics":"故事的小黄花\n从出生那年就飘着","syncedLyrics":"[00:29.26]故事的小黄花\n[00:32.78]从出生那年就飘着"})";

TEST(LibraryGet, ATrackAndTheNotFoundAnswer) {
    const LibraryGetReply r = ParseLibraryGet(kTrack);
    ASSERT_EQ(r.error, LibraryError::kNone);
    EXPECT_EQ(r.track.id, 3396226);
    EXPECT_EQ(r.track.trackName, QStringLiteral("晴天"));
    EXPECT_EQ(r.track.artistName, QStringLiteral("周杰伦"));
    EXPECT_EQ(r.track.albumName, QStringLiteral("叶惠美"));
    EXPECT_DOUBLE_EQ(r.track.duration, 269.0);
    EXPECT_FALSE(r.track.instrumental);
    EXPECT_TRUE(r.track.syncedLyrics.startsWith("[00:29.26]"));
    EXPECT_TRUE(r.track.HasLyrics());

    const LibraryGetReply missing =
        ParseLibraryGet(R"({"code":404,"name":"TrackNotFound","message":"Failed to find specified track"})");
    EXPECT_EQ(missing.error, LibraryError::kNotFound);

    const LibraryGetReply bare = ParseLibraryGet(
        R"({"id":1,"trackName":"Intro","artistName":"X","albumName":null,"duration":60,"instrumental":true,"plainLyrics":null,"syncedLyrics":null})");
    ASSERT_EQ(bare.error, LibraryError::kNone);
    EXPECT_TRUE(bare.track.instrumental);
    EXPECT_TRUE(bare.track.albumName.isEmpty());
    EXPECT_TRUE(bare.track.HasLyrics());
    EXPECT_FALSE(ParseLibraryGet(R"({"id":2,"trackName":"t","instrumental":false})").track.HasLyrics());
}

TEST(LibraryGet, HostileRepliesAreRefused) {
    const struct {
        const char* what;
        QByteArray json;
        LibraryError error;
    } cases[] = {
        {"not JSON", "<html>Bad Gateway</html>", LibraryError::kNotJson},
        {"an array", "[]", LibraryError::kWrongShape},
        {"instrumental as text", R"({"instrumental":"yes"})", LibraryError::kWrongType},
        {"duration as text", R"({"duration":"3:20"})", LibraryError::kWrongType},
        {"a negative duration", R"({"duration":-1})", LibraryError::kWrongType},
        {"a duration of days", R"({"duration":1e9})", LibraryError::kWrongType},
        {"lyrics as a number", R"({"syncedLyrics":5})", LibraryError::kWrongType},
        {"an id as text", R"({"id":"x"})", LibraryError::kWrongType},
        {"lyrics too long", "{\"plainLyrics\":\"" + QByteArray(kMaxLibraryText + 1, 'a') + "\"}", LibraryError::kWrongType},
    };
    for (const auto& c : cases) {
        const LibraryGetReply r = ParseLibraryGet(c.json);
        EXPECT_EQ(r.error, c.error) << c.what;
        EXPECT_FALSE(r.track.HasLyrics()) << c.what;
        EXPECT_FALSE(LibraryErrorText(r.error).isEmpty()) << c.what;
    }
}

// A search result with a duration and synced lyrics.
QByteArray Result(int id, double duration, bool lyrics = true) {
    return QStringLiteral(R"({"id":%1,"trackName":"t","artistName":"a","duration":%2,"instrumental":false,"syncedLyrics":%3})")
        .arg(id)
        .arg(duration)
        .arg(lyrics ? QStringLiteral("\"[00:01.00]x\"") : QStringLiteral("null"))
        .toUtf8();
}

TEST(LibrarySearch, AtMostTwentyResultsAndTheNearestDurationWithinThreeSeconds) {
    QByteArray many = "[";
    for (int i = 0; i < 30; ++i) many += (i ? "," : "") + Result(i, 100 + i);
    const LibrarySearchReply r = ParseLibrarySearch(many + "]");
    ASSERT_EQ(r.error, LibraryError::kNone);
    ASSERT_EQ(r.tracks.size(), static_cast<size_t>(kMaxSearchResults));
    EXPECT_EQ(r.tracks.back().id, 19);

    const auto tracks = ParseLibrarySearch("[" + Result(1, 205) + "," + Result(2, 198.5) + "," + Result(3, 200, false) +
                                           "," + Result(4, 201.4) + "]")
                            .tracks;
    const struct {
        int duration;
        int index;
    } cases[] = {
        {200, 3},  // 198.5 is 1.5 s off, 201.4 is 1.4 s off: the nearer wins; 200 has no lyrics
        {199, 1},
        {208, 0},  // 205 is 3 s off: still a match
        {209, -1}, // nothing within 3 s
        {150, -1},
        {0, 0},    // unknown duration: the first with lyrics
    };
    for (const auto& c : cases) EXPECT_EQ(NearestByDuration(tracks, c.duration), c.index) << c.duration;

    EXPECT_EQ(ParseLibrarySearch(kTrack).error, LibraryError::kWrongShape);
    EXPECT_EQ(ParseLibrarySearch("[1]").error, LibraryError::kWrongType);
    EXPECT_EQ(ParseLibrarySearch("[").error, LibraryError::kNotJson);
}

TEST(LibraryQuery, TitleAndArtistCleanedAsForTheLyricsRequest) {
    const struct {
        const char* name;
        const char* title;
        const char* artist;
    } cases[] = {
        {"晴天 ┈ 周杰伦", "晴天", "周杰伦"},
        {"晴天 (Live) ┈ 周杰伦", "晴天", "周杰伦"},
        {"后来（伴奏版）(Live) [MV] ┈ 刘若英【官方】", "后来", "刘若英"},
        {"A (x) (y) (z) ┈ B\\C", "A", "B"},
        {"(Intro)", "(Intro)", ""},  // nothing left: the title as it was
        {"Bare Title", "Bare Title", ""},
    };
    for (const auto& c : cases) {
        const LibraryQuery q = LibraryQueryFor(QString::fromUtf8(c.name), QStringLiteral(" 叶惠美 "), 269);
        EXPECT_EQ(q.title, QString::fromUtf8(c.title)) << c.name;
        EXPECT_EQ(q.artist, QString::fromUtf8(c.artist)) << c.name;
        EXPECT_EQ(q.album, QStringLiteral("叶惠美"));
        EXPECT_EQ(q.durationS, 269);
    }
}

TEST(LibraryQuery, PathsCarryTheValuesAsUtf8) {
    LibraryQuery q{QStringLiteral("晴天"), QStringLiteral("A&B"), QString(), 0};
    EXPECT_EQ(LibraryGetPath(q), "/api/get?track_name=%E6%99%B4%E5%A4%A9&artist_name=A%26B&album_name=");
    q.durationS = 269;
    q.album = QStringLiteral("x y");
    EXPECT_EQ(LibraryGetPath(q), "/api/get?track_name=%E6%99%B4%E5%A4%A9&artist_name=A%26B&album_name=x%20y&duration=269");
    EXPECT_EQ(LibrarySearchPath(q), "/api/search?track_name=%E6%99%B4%E5%A4%A9&artist_name=A%26B");
    q.artist.clear();
    EXPECT_EQ(LibrarySearchPath(q), "/api/search?track_name=%E6%99%B4%E5%A4%A9");
}

}  // namespace
}  // namespace tavo
