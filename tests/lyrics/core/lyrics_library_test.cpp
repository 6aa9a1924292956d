// The synced-lyrics library's client against a fake library on 127.0.0.1:
// the request on the wire, the search fallback, the retry in the other
// Chinese script, offline and oversized answers, and the list for a by-hand
// choice.
#include "lyrics/core/lrclib_client.h"

#include "support/event_loop.h"
#include "support/fake_lyrics_library.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <optional>

namespace tavo {
namespace {

using test::WaitFor;

struct Result {
    std::uint64_t request = 0;
    std::optional<LibraryTrack> track;
    bool unreachable = false;
};

class LibraryClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        library.Add({"晴天", "周杰伦", "叶惠美", 269, false, "故事的小黄花", "[00:29.26]故事的小黄花"});
        library.Add({"後來", "劉若英", "我等你", 341, false, "", "[00:20.00]後來"});
        library.Add({"Intro", "Band", "", 60, true, "", ""});
        library.Add({"Night", "Band", "", 180, false, "", "[00:01.00]180"});
        library.Add({"Night", "Band", "", 240, false, "", "[00:01.00]240"});
    }
    Result Find(LyricsLibraryClient& c, const LibraryQuery& q) {
        std::optional<Result> got;
        auto a = QObject::connect(&c, &LyricsLibraryClient::Found,
                                  [&](std::uint64_t r, const LibraryTrack& t) { got = Result{r, t, false}; });
        auto b = QObject::connect(&c, &LyricsLibraryClient::NotFound,
                                  [&](std::uint64_t r, const QString&, bool u) { got = Result{r, std::nullopt, u}; });
        const std::uint64_t id = c.Find(q);
        EXPECT_TRUE(WaitFor([&] { return got.has_value(); }, 5000));
        QObject::disconnect(a);
        QObject::disconnect(b);
        if (!got) return {};
        EXPECT_EQ(got->request, id);
        return *got;
    }
    test::FakeLyricsLibrary library;
};

TEST_F(LibraryClientTest, GetAsksWithTheSongsSignatureAndNamesTheProgram) {
    LyricsLibraryClient client(library.Base());
    const Result r = Find(client, {QStringLiteral("晴天"), QStringLiteral("周杰伦"), QStringLiteral("叶惠美"), 269});
    ASSERT_TRUE(r.track);
    EXPECT_EQ(r.track->syncedLyrics, QStringLiteral("[00:29.26]故事的小黄花"));
    const auto asked = library.Requests();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].path, "/api/get");
    EXPECT_EQ(asked[0].params.at("track_name"), "晴天");
    EXPECT_EQ(asked[0].params.at("artist_name"), "周杰伦");
    EXPECT_EQ(asked[0].params.at("album_name"), "叶惠美");
    EXPECT_EQ(asked[0].params.at("duration"), "269");
    EXPECT_EQ(asked[0].userAgent.rfind("TavoMusicBox/", 0), 0u);
    EXPECT_EQ(asked[0].client.rfind("TavoMusicBox/", 0), 0u);
}

TEST_F(LibraryClientTest, WithoutAnExactMatchTheNearestSearchResultWithinThreeSeconds) {
    LyricsLibraryClient client(library.Base());
    const struct {
        int duration;
        const char* synced;  // null: not found
    } cases[] = {{238, "[00:01.00]240"}, {183, "[00:01.00]180"}, {210, nullptr}};
    for (const auto& c : cases) {
        // The get misses: the album differs, so the duration is what decides.
        const Result r = Find(client, {QStringLiteral("Nigh"), QStringLiteral("Band"), QString(), c.duration});
        if (!c.synced) {
            EXPECT_FALSE(r.track) << c.duration;
            EXPECT_FALSE(r.unreachable);
            continue;
        }
        ASSERT_TRUE(r.track) << c.duration;
        EXPECT_EQ(r.track->syncedLyrics, c.synced);
    }
    EXPECT_EQ(library.Count("/api/get"), 3);
    EXPECT_EQ(library.Count("/api/search"), 3);
}

TEST_F(LibraryClientTest, AMissInOneScriptIsAskedOnceInTheOther) {
    LyricsLibraryClient client(library.Base());
    const Result r = Find(client, {QStringLiteral("后来"), QStringLiteral("刘若英"), QString(), 341});
    ASSERT_TRUE(r.track);
    EXPECT_EQ(r.track->syncedLyrics, QStringLiteral("[00:20.00]後來"));
    const auto asked = library.Requests();
    ASSERT_EQ(asked.size(), 3u);  // get, search, then get in traditional
    EXPECT_EQ(asked[2].path, "/api/get");
    EXPECT_EQ(asked[2].params.at("track_name"), "後來");
    EXPECT_EQ(asked[2].params.at("artist_name"), "劉若英");

    // Text without Han characters, or a second miss, is not asked again.
    EXPECT_FALSE(Find(client, {QStringLiteral("Nothing"), QStringLiteral("Nobody"), QString(), 100}).track);
    EXPECT_FALSE(Find(client, {QStringLiteral("无此歌"), QStringLiteral("某人"), QString(), 100}).track);
    EXPECT_EQ(library.Requests().size(), 3u + 2u + 4u);
}

TEST_F(LibraryClientTest, OfflineAndOversizedRepliesEndAtOnce) {
    {
        LyricsLibraryClient offline(QStringLiteral("http://127.0.0.1:1"));
        QElapsedTimer t;
        t.start();
        const Result r = Find(offline, {QStringLiteral("晴天"), QStringLiteral("周杰伦"), QString(), 269});
        EXPECT_FALSE(r.track);
        EXPECT_TRUE(r.unreachable);
        EXPECT_LT(t.elapsed(), 2000);
    }
    library.SetOversized(true);
    LyricsLibraryClient client(library.Base());
    const Result r = Find(client, {QStringLiteral("晴天"), QStringLiteral("周杰伦"), QString(), 269});
    EXPECT_FALSE(r.track);
    EXPECT_EQ(library.Count("/api/search"), 0);  // refused, not searched around
}

TEST_F(LibraryClientTest, HostileSearchRepliesFindNothing) {
    LyricsLibraryClient client(library.Base());
    for (const char* body : {"[", "{}", R"([{"duration":"long"}])", R"([{"id":1,"duration":100,"syncedLyrics":7}])"}) {
        library.SetSearchBody(std::string(body));
        EXPECT_FALSE(Find(client, {QStringLiteral("x"), QStringLiteral("y"), QString(), 100}).track) << body;
    }
}

TEST_F(LibraryClientTest, ListGivesTheSearchResultsAndOnlyTheNewestCallAnswers) {
    LyricsLibraryClient client(library.Base());
    library.SetDelay(std::chrono::milliseconds(150));
    std::vector<std::pair<std::uint64_t, size_t>> listed;
    int found = 0;
    QObject::connect(&client, &LyricsLibraryClient::Listed,
                     [&](std::uint64_t r, const std::vector<LibraryTrack>& t) { listed.emplace_back(r, t.size()); });
    QObject::connect(&client, &LyricsLibraryClient::Found, [&](std::uint64_t, const LibraryTrack&) { ++found; });
    client.Find({QStringLiteral("晴天"), QStringLiteral("周杰伦"), QString(), 269});
    const std::uint64_t id = client.List({QStringLiteral("Night"), QStringLiteral("Band"), QString(), 0});
    ASSERT_TRUE(WaitFor([&] { return !listed.empty(); }, 3000));
    test::Pump(250);
    EXPECT_EQ(found, 0);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0], std::make_pair(id, size_t{2}));
}

}  // namespace
}  // namespace tavo
