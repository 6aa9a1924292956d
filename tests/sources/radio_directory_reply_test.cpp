// The station directory's replies: what is taken from a server list and a
// station page, what refuses one, and the requests built for a search.
#include "sources/radio_directory_reply.h"

#include "print_qstring.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

TEST(ServerList, UsableNamesInOrderAndHostileListsRefused) {
    const struct {
        const char* what;
        QByteArray json;
        DirectoryError error;
        QStringList servers;
    } cases[] = {
        {"two servers", R"([{"ip":"1.2.3.4","name":"de1.api.radio-browser.info"},{"name":"NL1.api.radio-browser.info"}])",
         DirectoryError::kNone, {"de1.api.radio-browser.info", "nl1.api.radio-browser.info"}},
        {"port kept, duplicate and bad names dropped",
         R"([{"name":"127.0.0.1:8080"},{"name":"127.0.0.1:8080"},{"name":"evil/host"},{"name":"a b"},{"name":"h:99999"},{"name":""},{"ip":"x"}])",
         DirectoryError::kNone, {"127.0.0.1:8080"}},
        {"no usable name", R"([{"name":"../etc"}])", DirectoryError::kNoServers, {}},
        {"empty list", "[]", DirectoryError::kNoServers, {}},
        {"not JSON", "<html>502</html>", DirectoryError::kNotJson, {}},
        {"an object", R"({"name":"x"})", DirectoryError::kNotArray, {}},
        {"name not a text", R"([{"name":17}])", DirectoryError::kWrongType, {}},
        {"entry not an object", R"(["de1"])", DirectoryError::kWrongType, {}},
    };
    for (const auto& c : cases) {
        const ServerListReply r = ParseServerList(c.json);
        EXPECT_EQ(r.error, c.error) << c.what;
        EXPECT_EQ(r.servers, c.servers) << c.what;
    }
    QByteArray many = "[";
    for (int i = 0; i <= kMaxDirectoryServers; ++i) many += (i ? "," : "") + QByteArray(R"({"name":"s.example"})");
    EXPECT_EQ(ParseServerList(many + "]").error, DirectoryError::kTooMany);
}

const QByteArray kStation = R"({
  "changeuuid":"c","stationuuid":"960e57c5-0601-11e8-ae97-52543be04c81","name":"中国之声",
  "url":"http://ngcdn001.cnr.cn/live/zgzs/index.m3u8","url_resolved":"https://ngcdn001.cnr.cn/live/zgzs/index.m3u8",
  "homepage":"http://www.cnr.cn/","favicon":"https://www.cnr.cn/favicon.ico","tags":"news,中文",
  "country":"China","countrycode":"CN","state":"","language":"chinese","languagecodes":"zh","votes":1234,
  "lastchangetime":"2024-01-01 00:00:00","codec":"AAC","bitrate":64,"hls":1,"lastcheckok":1,"clickcount":567,
  "clicktrend":3,"geo_lat":null,"geo_long":null})";

TEST(StationPage, AStationKeepsWhatTheWindowShows) {
    const StationPageReply r = ParseStationPage("[" + kStation + "]");
    ASSERT_EQ(r.error, DirectoryError::kNone);
    ASSERT_EQ(r.stations.size(), 1u);
    const RadioStation& s = r.stations[0];
    EXPECT_EQ(s.stationuuid, "960e57c5-0601-11e8-ae97-52543be04c81");
    EXPECT_EQ(s.name, QStringLiteral("中国之声"));
    EXPECT_EQ(s.country, "China");
    EXPECT_EQ(s.countrycode, "CN");
    EXPECT_EQ(s.codec, "AAC");
    EXPECT_EQ(s.bitrate, 64);
    EXPECT_EQ(s.tags, QStringLiteral("news,中文"));
    EXPECT_EQ(s.votes, 1234);
    EXPECT_EQ(s.clickcount, 567);
    EXPECT_EQ(s.favicon, "https://www.cnr.cn/favicon.ico");
    EXPECT_EQ(s.PlayAddress(), "https://ngcdn001.cnr.cn/live/zgzs/index.m3u8");
    EXPECT_EQ(RadioListLine(s), QStringLiteral("中国之声<|>https://ngcdn001.cnr.cn/live/zgzs/index.m3u8"));
}

// `station` with `field` changed to the raw JSON `value`.
QByteArray With(QByteArray s, const char* field, const char* value) {
    const QByteArray key = QByteArray("\"") + field + "\":";
    const qsizetype at = s.indexOf(key) + key.size();
    qsizetype end = at;
    if (s[end] == '"') {
        end = s.indexOf('"', end + 1) + 1;
    } else {
        while (s[end] != ',' && s[end] != '}') ++end;
    }
    return s.left(at) + value + s.mid(end);
}
QByteArray StationWith(const char* field, const char* value) { return With(kStation, field, value); }

TEST(StationPage, AddressesMustBeWebAddresses) {
    const struct {
        const char* url;
        const char* resolved;
        const char* play;  // null: the station is left out
    } cases[] = {
        {R"("http://a.example/s")", R"("file:///etc/passwd")", "http://a.example/s"},
        {R"x("javascript:alert(1)")x", R"("https://b.example/s")", "https://b.example/s"},
        {R"("rtsp://c.example/s")", R"("")", nullptr},
        {R"("")", "null", nullptr},
        {R"("http:///nohost")", R"("")", nullptr},
    };
    for (const auto& c : cases) {
        const StationPageReply r = ParseStationPage("[" + With(StationWith("url", c.url), "url_resolved", c.resolved) + "]");
        ASSERT_EQ(r.error, DirectoryError::kNone) << c.url;
        if (c.play) {
            ASSERT_EQ(r.stations.size(), 1u) << c.url;
            EXPECT_EQ(r.stations[0].PlayAddress(), c.play) << c.url;
        } else {
            EXPECT_TRUE(r.stations.empty()) << c.url;
            EXPECT_EQ(r.skipped, 1) << c.url;
        }
    }
    const StationPageReply icon = ParseStationPage("[" + StationWith("favicon", R"("ftp://x.example/i.png")") + "]");
    ASSERT_EQ(icon.stations.size(), 1u);
    EXPECT_TRUE(icon.stations[0].favicon.isEmpty());
}

TEST(StationPage, HostilePagesAreRefusedWhole) {
    QByteArray tooMany = "[";
    for (int i = 0; i <= kMaxStationsPerPage; ++i) tooMany += (i ? "," : "") + kStation;
    tooMany += "]";
    const struct {
        const char* what;
        QByteArray json;
        DirectoryError error;
    } cases[] = {
        {"not JSON", "[{\"name\":", DirectoryError::kNotJson},
        {"an object", kStation, DirectoryError::kNotArray},
        {"votes as text", "[" + StationWith("votes", R"("many")") + "]", DirectoryError::kWrongType},
        {"a huge count", "[" + StationWith("votes", "1e12") + "]", DirectoryError::kWrongType},
        {"a negative bitrate", "[" + StationWith("bitrate", "-5") + "]", DirectoryError::kWrongType},
        {"a fraction", "[" + StationWith("clickcount", "1.5") + "]", DirectoryError::kWrongType},
        {"name as a list", "[" + StationWith("name", "[1]") + "]", DirectoryError::kWrongType},
        {"an entry that is a number", "[" + kStation + ",7]", DirectoryError::kWrongType},
        {"too many stations", tooMany, DirectoryError::kTooMany},
    };
    for (const auto& c : cases) {
        const StationPageReply r = ParseStationPage(c.json);
        EXPECT_EQ(r.error, c.error) << c.what;
        EXPECT_TRUE(r.stations.empty()) << c.what;
        EXPECT_FALSE(DirectoryErrorText(r.error).isEmpty()) << c.what;
    }
}

TEST(StationPage, TextsAreSafeForTheStationList) {
    const StationPageReply r = ParseStationPage(
        "[" + StationWith("name", R"("A<|>B\r\nhttp://evil.example")") + "," + StationWith("name", R"("")") + "]");
    ASSERT_EQ(r.stations.size(), 2u);
    EXPECT_EQ(r.stations[0].name, "A B  http://evil.example");
    EXPECT_FALSE(RadioListLine(r.stations[0]).contains(QLatin1Char('\n')));
    EXPECT_EQ(RadioListLine(r.stations[0]).count(QStringLiteral("<|>")), 1);
    // A station without a name is listed under its address.
    EXPECT_EQ(r.stations[1].name, r.stations[1].PlayAddress());
    const StationPageReply longName =
        ParseStationPage("[" + StationWith("name", ("\"" + std::string(5000, 'n') + "\"").c_str()) + "]");
    ASSERT_EQ(longName.stations.size(), 1u);
    EXPECT_EQ(longName.stations[0].name.size(), kMaxStationText);
}

TEST(StationSearch, AlwaysHidesBrokenStationsAndNamesItsLimit) {
    const struct {
        StationQuery query;
        const char* path;
    } cases[] = {
        {{}, "/json/stations/search?order=votes&reverse=true&hidebroken=true&limit=50&offset=0"},
        {{QStringLiteral("音乐 台"), "CN", "chinese", "pop", StationOrder::kClicks, false, 20, 40},
         "/json/stations/search?name=%E9%9F%B3%E4%B9%90%20%E5%8F%B0&countrycode=CN&language=chinese&tag=pop"
         "&order=clickcount&reverse=false&hidebroken=true&limit=20&offset=40"},
        {{QStringLiteral("a&b=c"), {}, {}, {}, StationOrder::kVotes, true, 100000, -3},
         "/json/stations/search?name=a%26b%3Dc&order=votes&reverse=true&hidebroken=true&limit=500&offset=0"},
    };
    for (const auto& c : cases) EXPECT_EQ(StationSearchPath(c.query), c.path);
}

TEST(StationSearch, ClickPathTakesOnlyAUuid) {
    EXPECT_EQ(StationClickPath("960e57c5-0601-11e8-ae97-52543be04c81"), "/json/url/960e57c5-0601-11e8-ae97-52543be04c81");
    for (const char* bad : {"", "../servers", "a b", "x?y=1", "%2e%2e"}) EXPECT_TRUE(StationClickPath(bad).isEmpty()) << bad;
}

}  // namespace
}  // namespace tavo
