// The lyrics order for the playing song, with a lyrics service and a lyrics
// library on 127.0.0.1, a temporary cache folder and a stand-in for the
// local song's own lyrics.
#include "lyrics/core/lyrics_finder.h"

#include "platform/codepage.h"
#include "sources/services.h"
#include "support/event_loop.h"
#include "support/fake_lyrics_library.h"
#include "support/local_http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <atomic>
#include <map>
#include <mutex>

namespace tavo {
namespace {

using test::WaitFor;

const QString kSunny = QStringLiteral("晴天 ┈ 周杰伦");
const QString kLater = QStringLiteral("后来 ┈ 刘若英");

class LyricsFinderTest : public ::testing::Test {
protected:
    void SetUp() override {
        service.server().Get("/fcgi-bin/fcg_download_lrc.q", [this](const httplib::Request& req, httplib::Response& res) {
            ++serviceAsked;
            std::lock_guard lock(mu);
            const auto it = serviceLyrics.find(platform::DecodeGb18030(QByteArray::fromStdString(req.get_param_value("song"))));
            if (it == serviceLyrics.end()) {
                res.status = 404;
                return;
            }
            res.set_content(("<lyric><![CDATA[" + it->second + "]]></lyric>").toStdString(), "text/xml");
        });
        service.Start();
        SetServices(LocalServiceHosts(service.port()));
        library.Add({"后来", "刘若英", "", 341, false, "", "[00:20.00]后来\n[00:25.00]我总算学会了"});
        library.Add({"Intro", "Band", "", 60, true, "", ""});
        library.Add({"Words", "Band", "", 100, false, "only words\nno times", ""});
    }
    void TearDown() override { ResetServices(); }

    std::unique_ptr<LyricsFinder> Make(LocalLyricsFunction local = nullptr, QString libraryBase = QString()) {
        LyricsFinderOptions o;
        o.cacheFolder = cacheDir.path();
        o.libraryBase = libraryBase.isNull() ? library.Base() : libraryBase;
        o.localLyrics = std::move(local);
        auto f = std::make_unique<LyricsFinder>(o);
        QObject::connect(f.get(), &LyricsFinder::Answered, [this](const LyricsAnswer& a) { answers.push_back(a); });
        return f;
    }
    // Finds and waits for the one answer.
    LyricsAnswer Find(LyricsFinder& f, const LyricsSong& song) {
        answers.clear();
        const std::uint64_t id = f.Find(song);
        EXPECT_TRUE(answers.empty());  // never before Find() returns
        EXPECT_TRUE(WaitFor([&] { return !answers.empty(); }, 5000));
        if (answers.empty()) return {};
        EXPECT_EQ(answers.back().request, id);
        EXPECT_EQ(answers.back().name, song.name);
        return answers.back();
    }

    test::ScopedProgramFolder folder;
    test::TempDir cacheDir;
    test::LocalHttpServer service;
    test::FakeLyricsLibrary library;
    std::mutex mu;
    std::map<QString, QString> serviceLyrics{{QStringLiteral("晴天"), QStringLiteral("[00:29.26]故事的小黄花")}};
    std::atomic<int> serviceAsked{0};
    std::vector<LyricsAnswer> answers;
};

TEST_F(LyricsFinderTest, EachPlaceAnswersInItsTurn) {
    const auto localFile = std::filesystem::path("/music/x.mp3");
    QString localText;
    auto f = Make([&](const std::filesystem::path& p) -> std::optional<QString> {
        if (p != localFile || localText.isEmpty()) return std::nullopt;
        return localText;
    });
    // The service has it: kept in the cache on the way.
    LyricsAnswer a = Find(*f, {kSunny});
    EXPECT_EQ(a.origin, LyricsOrigin::kService);
    EXPECT_EQ(a.shape, LyricsShape::kSynced);
    EXPECT_EQ(a.lines, QStringList{QStringLiteral("[00:29.26]故事的小黄花")});
    // Played again: from the cache, nothing asked.
    const int asked = serviceAsked;
    a = Find(*f, {kSunny});
    EXPECT_EQ(a.origin, LyricsOrigin::kCache);
    EXPECT_EQ(a.lines, QStringList{QStringLiteral("[00:29.26]故事的小黄花")});
    EXPECT_EQ(serviceAsked, asked);
    EXPECT_TRUE(library.Requests().empty());
    // A local song's own lyrics come before the cache.
    localText = QStringLiteral("[00:01.00]本地\r\n[00:02.00]歌词");
    a = Find(*f, {kSunny, localFile});
    EXPECT_EQ(a.origin, LyricsOrigin::kLocal);
    EXPECT_EQ(a.lines, (QStringList{QStringLiteral("[00:01.00]本地"), QStringLiteral("[00:02.00]歌词")}));
    // The service does not have it: the library, then the cache.
    a = Find(*f, {kLater, {}, {}, 341});
    EXPECT_EQ(a.origin, LyricsOrigin::kLibrary);
    EXPECT_EQ(a.lines.size(), 2);
    EXPECT_EQ(library.Count("/api/get"), 1);
    EXPECT_EQ(Find(*f, {kLater}).origin, LyricsOrigin::kCache);
    EXPECT_EQ(library.Count("/api/get"), 1);
}

TEST_F(LyricsFinderTest, InstrumentalPlainAndMissingSongs) {
    auto f = Make();
    const struct {
        QString name;
        LyricsShape shape;
        QStringList lines;
        QString status;
    } cases[] = {
        {QStringLiteral("Intro ┈ Band"), LyricsShape::kInstrumental, {}, QStringLiteral("纯音乐，请欣赏")},
        {QStringLiteral("Words ┈ Band"), LyricsShape::kPlain, {"only words", "no times"}, {}},
        {QStringLiteral("无此歌 ┈ 某人"), LyricsShape::kNone, {}, QStringLiteral("没有找到“无此歌 ┈ 某人”的歌词")},
    };
    for (int round = 0; round < 2; ++round) {  // the second round reads what the first kept
        for (const auto& c : cases) {
            const LyricsAnswer a = Find(*f, {c.name});
            EXPECT_EQ(a.shape, c.shape) << c.name.toStdString();
            EXPECT_EQ(a.lines, c.lines) << c.name.toStdString();
            EXPECT_EQ(a.status, c.status) << c.name.toStdString();
            if (round == 1 && c.shape != LyricsShape::kNone) {
                EXPECT_EQ(a.origin, LyricsOrigin::kCache) << c.name.toStdString();
            }
        }
    }
}

TEST_F(LyricsFinderTest, OfflineNothingIsFoundAtOnce) {
    service.Stop();
    auto f = Make(nullptr, QStringLiteral("http://127.0.0.1:1"));
    QElapsedTimer t;
    t.start();
    const LyricsAnswer a = Find(*f, {kLater});
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_EQ(a.shape, LyricsShape::kNone);
    EXPECT_EQ(a.status, QStringLiteral("没有找到“后来 ┈ 刘若英”的歌词"));
}

TEST_F(LyricsFinderTest, AnAnswerForAnEarlierSongIsDropped) {
    library.SetDelay(std::chrono::milliseconds(200));
    auto f = Make();
    Find(*f, {kSunny});  // into the cache
    answers.clear();
    f->Find({kLater});   // the service misses, the slow library is asked...
    ASSERT_TRUE(WaitFor([&] { return library.Count("/api/get") == 1; }, 3000));
    const std::uint64_t now = f->Find({kSunny});  // ...and the player moves on
    ASSERT_TRUE(WaitFor([&] { return !answers.empty(); }, 3000));
    test::Pump(400);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].request, now);
    EXPECT_EQ(answers[0].name, kSunny);
}

TEST_F(LyricsFinderTest, AChoiceByHandIsRememberedAndWins) {
    const auto localFile = std::filesystem::path("/music/sunny.mp3");
    auto f = Make([&](const std::filesystem::path&) { return std::optional<QString>(QStringLiteral("[00:01.00]local")); });
    const LyricsSong song{kSunny, localFile};
    EXPECT_EQ(Find(*f, song).origin, LyricsOrigin::kLocal);
    answers.clear();
    f->Choose(song, QStringLiteral("[00:05.00]chosen"));
    ASSERT_EQ(answers.size(), 1u);  // the song plays: shown at once
    EXPECT_EQ(answers[0].origin, LyricsOrigin::kChoice);
    EXPECT_EQ(answers[0].lines, QStringList{"[00:05.00]chosen"});
    // Every later play of the song, whatever else has lyrics.
    const LyricsAnswer a = Find(*f, song);
    EXPECT_EQ(a.origin, LyricsOrigin::kChoice);
    EXPECT_EQ(a.lines, QStringList{"[00:05.00]chosen"});
    // A choice for another song is kept without touching what shows.
    answers.clear();
    f->Choose({kLater}, QStringLiteral("[00:01.00]x"));
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(Find(*f, {kLater}).origin, LyricsOrigin::kChoice);
}

TEST(LyricText, ShapesOfALyricText) {
    const struct {
        const char* text;
        LyricsShape shape;
        int lines;
    } cases[] = {
        {"[00:01.00]a\n[00:02.00]b\n", LyricsShape::kSynced, 2},
        {"[ti:x]\r\n[01:02]a\rb", LyricsShape::kSynced, 3},
        {"a<br>b</br>c", LyricsShape::kPlain, 3},
        {"[instrumental:true]\n", LyricsShape::kInstrumental, 0},
        {"[ar:someone]\nwords", LyricsShape::kPlain, 2},
    };
    for (const auto& c : cases) {
        const auto t = ReadLyricText(QString::fromUtf8(c.text));
        ASSERT_TRUE(t) << c.text;
        EXPECT_EQ(t->shape, c.shape) << c.text;
        EXPECT_EQ(t->lines.size(), c.lines) << c.text;
    }
    EXPECT_FALSE(ReadLyricText(QStringLiteral(" \r\n ")));
}

}  // namespace
}  // namespace tavo
