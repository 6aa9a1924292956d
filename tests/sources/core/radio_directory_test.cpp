// The station directory's client against a fake directory on 127.0.0.1:
// the server list and its failover, searches and paging, the kept list,
// offline and hostile answers, the click and the icons.
#include "sources/core/radio_directory.h"

#include "../print_qstring.h"
#include "support/core/png_bytes.h"
#include "support/event_loop.h"
#include "support/fake_radio_directory.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QFile>

#include <optional>

namespace tavo {
namespace {

using test::WaitFor;

struct Outcome {
    std::uint64_t request = 0;
    std::optional<std::vector<RadioStation>> stations;
    QString failure;
    bool unreachable = false;
};

class RadioDirectoryTest : public ::testing::Test {
protected:
    std::unique_ptr<RadioDirectory> Make(const QString& base) {
        RadioDirectoryOptions o;
        o.base = base;
        o.serverListFile = dir / "servers.json";
        o.nowSeconds = [this] { return now; };
        o.shuffle = [](QStringList&) {};  // the fake's order: the failing server first
        auto d = std::make_unique<RadioDirectory>(o);
        QObject::connect(d.get(), &RadioDirectory::StationsFound,
                         [this](std::uint64_t r, const StationQuery&, const std::vector<RadioStation>& s) {
                             outcomes.push_back({r, s, {}, false});
                         });
        QObject::connect(d.get(), &RadioDirectory::SearchFailed, [this](std::uint64_t r, const QString& m, bool u) {
            outcomes.push_back({r, std::nullopt, m, u});
        });
        return d;
    }
    // Searches and waits for its one outcome.
    Outcome Search(RadioDirectory& d, const StationQuery& q) {
        outcomes.clear();
        const std::uint64_t id = d.Search(q);
        EXPECT_TRUE(WaitFor([&] { return !outcomes.empty(); }, 5000));
        if (outcomes.empty()) return {};
        EXPECT_EQ(outcomes.back().request, id);
        return outcomes.back();
    }

    test::TempDir dir;
    test::FakeRadioDirectory fake{100};
    qint64 now = QDateTime::currentSecsSinceEpoch();
    std::vector<Outcome> outcomes;
};

TEST_F(RadioDirectoryTest, AFailingServerIsPassedAndPagesFollowEachOther) {
    auto d = Make(fake.Base());
    StationQuery q;
    q.countrycode = "CN";
    q.limit = 30;
    std::vector<QString> names;
    for (int page = 0; page < 3; ++page) {
        q.offset = page * 30;
        const Outcome o = Search(*d, q);
        ASSERT_TRUE(o.stations) << o.failure.toStdString();
        for (const RadioStation& s : *o.stations) {
            EXPECT_EQ(s.countrycode, "CN");
            names.push_back(s.name);
        }
    }
    // 50 stations in CN: 30, then 20, then none; most votes first.
    ASSERT_EQ(names.size(), 50u);
    EXPECT_EQ(names.front(), QStringLiteral("电台 98"));
    EXPECT_EQ(names.back(), QStringLiteral("电台 0"));
    // The failing server was asked once; the good one kept after it.
    EXPECT_EQ(fake.FailingRequests().size(), 1u);
    EXPECT_EQ(d->ServerIndex(), 1);
    const auto asked = fake.GoodRequests();
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0], "/json/servers");
    EXPECT_EQ(asked[1], "/json/stations/search?countrycode=CN&order=votes&reverse=true&hidebroken=true&limit=30&offset=0");
    for (const std::string& agent : fake.UserAgents()) EXPECT_EQ(agent.rfind("TavoMusicBox/", 0), 0u) << agent;
}

TEST_F(RadioDirectoryTest, TheServerListIsKeptForADay) {
    Search(*Make(fake.Base()), {});
    ASSERT_TRUE(std::filesystem::exists(dir / "servers.json"));
    const auto count = [this] {
        int n = 0;
        for (const auto& r : fake.GoodRequests()) n += r == "/json/servers";
        return n;
    };
    ASSERT_EQ(count(), 1);
    now += 23 * 3600;  // the next run, the same day: the kept list
    EXPECT_TRUE(Search(*Make(fake.Base()), {}).stations);
    EXPECT_EQ(count(), 1);
    now += 2 * 3600;   // a day later: asked again
    EXPECT_TRUE(Search(*Make(fake.Base()), {}).stations);
    EXPECT_EQ(count(), 2);
}

TEST_F(RadioDirectoryTest, WithoutAUsableListTheDirectoryItselfIsAsked) {
    for (const auto& [body, status] : std::vector<std::pair<std::string, int>>{
             {"not json", 200}, {"[]", 200}, {R"([{"name":"evil/x"}])", 200}, {"gone", 404}}) {
        fake.SetServerList(body, status);
        std::filesystem::remove(dir / "servers.json");
        auto d = Make(fake.Base());
        EXPECT_TRUE(Search(*d, {}).stations) << body;
        EXPECT_TRUE(d->Servers().isEmpty()) << body;
    }
    EXPECT_TRUE(fake.FailingRequests().empty());
}

TEST_F(RadioDirectoryTest, OfflineTheSearchFailsAtOnceAndQuietly) {
    auto d = Make(QStringLiteral("http://127.0.0.1:1"));
    QElapsedTimer t;
    t.start();
    const Outcome o = Search(*d, {});
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_FALSE(o.stations);
    EXPECT_TRUE(o.unreachable);
    EXPECT_EQ(o.failure, QStringLiteral("无法连接电台目录"));
}

TEST_F(RadioDirectoryTest, HostilePagesGiveAMessageAndNoStations) {
    auto d = Make(fake.Base());
    ASSERT_TRUE(Search(*d, {}).stations);
    const struct {
        std::string body;
        QString message;
    } cases[] = {
        {"[{\"name\":", DirectoryErrorText(DirectoryError::kNotJson)},
        {R"({"error":"x"})", DirectoryErrorText(DirectoryError::kNotArray)},
        {R"([{"name":"a","url":"http://x.example/","votes":"9"}])", DirectoryErrorText(DirectoryError::kWrongType)},
        {"[" + std::string(6 * 1024 * 1024, ' ') + "]", QStringLiteral("电台目录的回复过大或不完整")},
    };
    for (const auto& c : cases) {
        fake.SetPageBody(c.body);
        const Outcome o = Search(*d, {});
        EXPECT_FALSE(o.stations) << c.body.substr(0, 40);
        EXPECT_FALSE(o.unreachable) << c.body.substr(0, 40);
        EXPECT_EQ(o.failure, c.message) << c.body.substr(0, 40);
    }
}

TEST_F(RadioDirectoryTest, OnlyTheNewestSearchIsAnswered) {
    auto d = Make(fake.Base());
    StationQuery first, second;
    first.name = QStringLiteral("电台 1");
    second.name = QStringLiteral("电台 2");
    outcomes.clear();
    d->Search(first);
    const std::uint64_t last = d->Search(second);
    ASSERT_TRUE(WaitFor([&] { return !outcomes.empty(); }, 5000));
    test::Pump(100);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].request, last);
    ASSERT_TRUE(outcomes[0].stations);
    for (const RadioStation& s : *outcomes[0].stations) EXPECT_TRUE(s.name.startsWith(QStringLiteral("电台 2")));
}

TEST_F(RadioDirectoryTest, AStartedStationIsClickedOnItsServer) {
    auto d = Make(fake.Base());
    const Outcome o = Search(*d, {});
    ASSERT_TRUE(o.stations && !o.stations->empty());
    const QString uuid = o.stations->front().stationuuid;
    d->Click(uuid);
    d->Click(QStringLiteral("../json/servers"));  // not a uuid: not sent
    ASSERT_TRUE(WaitFor([&] { return fake.Clicks(uuid.toStdString()) == 1; }, 3000));
    test::Pump(50);
    EXPECT_EQ(fake.GoodRequests().back(), "/json/url/" + uuid.toStdString());
}

QByteArray PngOf(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    return test::PngBytes(image);
}

TEST_F(RadioDirectoryTest, IconsAreFetchedOnceCheckedAndKept) {
    auto d = Make(fake.Base());
    std::vector<QString> ready;
    QObject::connect(d.get(), &RadioDirectory::IconReady, [&](const QString& a, const QImage&) { ready.push_back(a); });
    const struct {
        const char* what;
        QByteArray bytes;
        bool shown;
    } cases[] = {
        {"a PNG", PngOf(16, 16), true},
        {"a page, not a picture", "<html>hi</html>", false},
        {"a broken PNG", PngOf(16, 16).left(40), false},
        {"a picture too large", PngOf(2000, 10), false},
        {"over 256 KB", QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(300 * 1024, 'x'), false},
    };
    int n = 0;
    for (const auto& c : cases) {
        fake.SetIcon(c.bytes.toStdString());
        const QString address = fake.Base() + QStringLiteral("/icon/%1.png").arg(n++);
        const size_t asked = fake.GoodRequests().size();
        ready.clear();
        d->Icon(address);
        ASSERT_TRUE(WaitFor([&] { return fake.GoodRequests().size() > asked; }, 3000)) << c.what;
        test::Pump(80);
        EXPECT_EQ(!ready.empty(), c.shown) << c.what;
        EXPECT_EQ(!d->KeptIcon(address).isNull(), c.shown) << c.what;
        // Asked again: answered from what is kept, never fetched twice.
        d->Icon(address);
        test::Pump(20);
        EXPECT_EQ(fake.GoodRequests().size(), asked + 1) << c.what;
    }
    const size_t asked = fake.GoodRequests().size();
    d->Icon(QStringLiteral("file:///etc/passwd"));
    d->Icon(QStringLiteral("ftp://127.0.0.1/icon.png"));
    test::Pump(100);
    EXPECT_EQ(fake.GoodRequests().size(), asked);
}

}  // namespace
}  // namespace tavo
