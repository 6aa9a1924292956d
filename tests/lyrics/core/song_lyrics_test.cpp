// The playing song's lyrics from the finder into the lyrics model: what each
// answer puts there, which answers are dropped, and that nothing waits on a
// library that cannot be reached.
#include "lyrics/core/song_lyrics.h"

#include "lyrics/core/local_lyrics.h"
#include "lyrics/lrc_cleanup.h"
#include "support/event_loop.h"
#include "support/fake_lyrics_library.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>

#include <chrono>

namespace tavo {
namespace {

using test::WaitFor;

const QString kLater = QStringLiteral("后来 ┈ 刘若英");

class SongLyricsTest : public ::testing::Test {
protected:
    void SetUp() override {
        library.Add({"后来", "刘若英", "", 341, false, "", "[00:20.00]后来\n[00:25.00]我总算学会了"});
        library.Add({"Intro", "Band", "", 60, true, "", ""});
        library.Add({"Words", "Band", "", 100, false, "only words\nno times", ""});
        library.Add({"Slow", "Band", "", 100, false, "", "[00:01.00]slow"});
    }

    void Make(QString libraryBase = QString()) {
        LyricsFinderOptions o;
        o.cacheFolder = cacheDir.path();
        o.askService = false;  // the lyrics service has its own tests
        o.libraryBase = libraryBase.isNull() ? library.Base() : libraryBase;
        o.localLyrics = FindLocalLyrics;
        finder = std::make_unique<LyricsFinder>(o);
        lyrics = std::make_unique<SongLyrics>(model, [this]() -> LyricsFinder& { return *finder; });
        QObject::connect(lyrics.get(), &SongLyrics::Found, [this](const QString& name) { found.append(name); });
        QObject::connect(lyrics.get(), &SongLyrics::NotFound,
                         [this](const QString& name, const QString& text) { notFound.append(name + "|" + text); });
        QObject::connect(&model, &LyricsModel::Changed, [this] { ++modelChanges; });
    }
    bool Answered() { return WaitFor([this] { return !found.isEmpty() || !notFound.isEmpty(); }, 5000); }

    test::TempDir cacheDir;
    test::TempDir music;
    test::FakeLyricsLibrary library;
    LyricsModel model;
    std::unique_ptr<LyricsFinder> finder;
    std::unique_ptr<SongLyrics> lyrics;
    QStringList found, notFound;
    int modelChanges = 0;
};

struct AnswerCase {
    const char* what;
    const char* name;
    int lines;             // lines in the model afterwards
    int firstTimeMs;       // the first line's time (-1: none)
    const char* notFound;  // the text NotFound carries; null when Found
};

class SongLyricsAnswers : public SongLyricsTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(SongLyricsAnswers, EachShapeReachesTheModelOrTheStatus) {
    const AnswerCase& c = GetParam();
    Make();
    const QString name = QString::fromUtf8(c.name);
    lyrics->Begin(name, QStringLiteral("http://songs.example/a.mp3"), 7);
    EXPECT_TRUE(lyrics->Finding());
    ASSERT_TRUE(Answered()) << c.what;
    EXPECT_FALSE(lyrics->Finding());
    EXPECT_EQ(model.Count(), c.lines) << c.what;
    EXPECT_EQ(model.TimeMs(0), c.firstTimeMs) << c.what;
    if (c.notFound) {
        EXPECT_TRUE(found.isEmpty());
        EXPECT_EQ(notFound, QStringList{name + "|" + QString::fromUtf8(c.notFound)}) << c.what;
    } else {
        EXPECT_EQ(found, QStringList{name}) << c.what;
        EXPECT_TRUE(notFound.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, SongLyricsAnswers,
    ::testing::Values(AnswerCase{"synced lines", "后来 ┈ 刘若英", 2, 20000, nullptr},
                      AnswerCase{"plain text: lines without times", "Words ┈ Band", 2, -1, nullptr},
                      AnswerCase{"instrumental", "Intro ┈ Band", 0, -1, "纯音乐，请欣赏"},
                      AnswerCase{"nothing anywhere", "无此歌 ┈ 无名", 0, -1, "没有找到“无此歌 ┈ 无名”的歌词"}));

// A local song's own lyric file answers before the library, its [offset:]
// applied to the lines; the library is not asked.
TEST_F(SongLyricsTest, ALocalSongsOwnFileComesFirstWithItsOffset) {
    Make();
    const auto song = music.Write("后来.mp3", "not really audio");
    music.Write("后来.lrc", "[offset:+500]\r\n[00:20.00]我的后来\r\n");
    lyrics->Begin(kLater, QString::fromStdString(song.string()), 3);
    ASSERT_TRUE(Answered());
    EXPECT_EQ(lyrics->Origin(), LyricsOrigin::kLocal);
    EXPECT_EQ(model.Lines(), QStringList{"[00:19.50]我的后来"});
    EXPECT_EQ(library.Count("/api/get"), 0);

    // The same song as a file: address.
    found.clear();
    lyrics->Begin(kLater, QStringLiteral("file://") + QString::fromStdString(song.string()), 4);
    ASSERT_TRUE(Answered());
    EXPECT_EQ(lyrics->Origin(), LyricsOrigin::kLocal);
}

// Only the newest song's answer counts: a slow answer for the song before
// and anything after Cancel() change nothing.
TEST_F(SongLyricsTest, ALateAnswerForAnEarlierSongIsDropped) {
    Make();
    library.SetDelay(std::chrono::milliseconds(300));
    lyrics->Begin(QStringLiteral("Slow ┈ Band"), {}, 1);
    test::Pump(50);  // the library has the first request
    lyrics->Begin(kLater, {}, 2);
    ASSERT_TRUE(Answered());
    test::Pump(400);
    EXPECT_EQ(found, QStringList{kLater});
    EXPECT_EQ(model.Text(0), QStringLiteral("后来"));

    found.clear();
    lyrics->Begin(QStringLiteral("Words ┈ Band"), {}, 3);
    EXPECT_TRUE(model.IsEmpty()) << "the song before's lines go at once";
    lyrics->Cancel();
    test::Pump(600);
    EXPECT_TRUE(found.isEmpty());
    EXPECT_TRUE(notFound.isEmpty());
    EXPECT_EQ(lyrics->SongTag(), 0u);
}

// The user's pick for the song that plays is shown at once; a pick that
// arrives once the song stopped is only remembered, and wins next time.
TEST_F(SongLyricsTest, ThePicksForThePlayingSongShowAtOnceAndAreRemembered) {
    Make();
    lyrics->Begin(kLater, {}, 5);
    ASSERT_TRUE(Answered());
    found.clear();
    finder->Choose(lyrics->Song(), QStringLiteral("[00:01.00]mine"));
    EXPECT_EQ(found, QStringList{kLater});
    EXPECT_EQ(model.Lines(), QStringList{"[00:01.00]mine"});
    EXPECT_EQ(lyrics->Origin(), LyricsOrigin::kChoice);

    lyrics->Cancel();
    found.clear();
    finder->Choose(lyrics->Song(), QStringLiteral("[00:02.00]later pick"));
    EXPECT_TRUE(found.isEmpty()) << "no song plays";
    EXPECT_EQ(model.Lines(), QStringList{"[00:01.00]mine"});

    lyrics->Begin(kLater, {}, 6);
    ASSERT_TRUE(Answered());
    EXPECT_EQ(model.Lines(), QStringList{"[00:02.00]later pick"});
    EXPECT_EQ(library.Count("/api/get"), 1) << "the pick wins over the library";
}

// A library row without lyrics picked while the search runs is no pick: the
// search goes on and answers.
TEST_F(SongLyricsTest, APickWithoutLyricsLeavesTheSearchRunning) {
    Make();
    lyrics->Begin(kLater, {}, 7);
    finder->Choose(lyrics->Song(), QString());
    EXPECT_TRUE(lyrics->Finding());
    ASSERT_TRUE(Answered());
    EXPECT_EQ(found, QStringList{kLater});
    EXPECT_EQ(lyrics->Origin(), LyricsOrigin::kLibrary);
}

// No network: Begin() returns at once and the not-found text follows
// quickly; the model changes once per song (emptied), not per step.
TEST_F(SongLyricsTest, AnUnreachableLibraryFailsFastAndQuietly) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    Make(base);
    model.SetLines({"[00:01.00]old"});
    modelChanges = 0;
    QElapsedTimer t;
    t.start();
    lyrics->Begin(kLater, {}, 9);
    EXPECT_LT(t.elapsed(), 100);
    ASSERT_TRUE(Answered());
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_EQ(notFound, QStringList{kLater + "|" + LrcNotFoundText(kLater)});
    EXPECT_EQ(modelChanges, 1);
}

TEST(LocalSongFile, OnlyPathsOnThisMachine) {
    EXPECT_EQ(LocalSongFile(QStringLiteral("/music/a.mp3")), std::filesystem::path("/music/a.mp3"));
    EXPECT_EQ(LocalSongFile(QStringLiteral(" file:///music/%E6%99%B4.mp3 ")), std::filesystem::path("/music/晴.mp3"));
    EXPECT_TRUE(LocalSongFile(QStringLiteral("http://x/a.mp3")).empty());
    EXPECT_TRUE(LocalSongFile(QStringLiteral("music/a.mp3")).empty());
    EXPECT_TRUE(LocalSongFile(QString()).empty());
}

}  // namespace
}  // namespace tavo
