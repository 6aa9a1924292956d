#include "app/local_import.h"

#include "app/list_files.h"
#include "support/event_loop.h"
#include "support/temp_dir.h"
#include "support/core/test_media.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tavo {
namespace {

using test::TempDir;

QString P(const TempDir& dir, const char* rel) { return QString::fromStdString((dir / rel).string()); }

TEST(LocalImportNames, TitleArtistThenTitleThenTheFileNameRule) {
    EXPECT_EQ(LocalSongName("晴天", "周杰伦", "/m/x.mp3"), QStringLiteral("晴天 ┈ 周杰伦"));
    EXPECT_EQ(LocalSongName("晴天", " ", "/m/x.mp3"), QStringLiteral("晴天"));
    EXPECT_EQ(LocalSongName("", "周杰伦", "/m/Artist-Title.mp3"), QStringLiteral("Artist ┈ Title"));
    // The duration rides as a third field the list reader does not see.
    const QString line = LocalSongLine("晴天 ┈ 周杰伦", "/m/x.mp3", 244600);
    EXPECT_EQ(line, QStringLiteral("晴天 ┈ 周杰伦<|>/m/x.mp3<|>245"));
    EXPECT_EQ(ParseListLine(line)->link, QStringLiteral("/m/x.mp3"));
    EXPECT_EQ(FavouriteLineSeconds(line), 245);
    EXPECT_EQ(FavouriteLineSeconds("a<|>/m/x.mp3"), -1);
    EXPECT_EQ(LocalSongLine("a", "/m/x.mp3", 0), QStringLiteral("a<|>/m/x.mp3"));
}

TEST(LocalImportNames, MusicFileNamesAndRefusedPaths) {
    for (const char* ok : {"a.mp3", "a.FLAC", "a.ogg", "a.opus", "a.m4a", "a.aac", "a.wav", "a.ape", "a.wma", "a.wv", "a.dsf"})
        EXPECT_TRUE(IsMusicFileName(ok)) << ok;
    for (const char* no : {"a.txt", "a.lrc", "mp3", "a.mp3.part", "a.jpg"}) EXPECT_FALSE(IsMusicFileName(no)) << no;
    EXPECT_TRUE(IsRefusedPath("/m/a<|>b.mp3"));
    EXPECT_TRUE(IsRefusedPath("/m/a{@}b.mp3"));
    EXPECT_TRUE(IsRefusedPath("/m/a\nb.mp3"));
    EXPECT_FALSE(IsRefusedPath("/m/a ┈ b.mp3"));
}

// A small collection: two albums, tagged and untagged files, a song already
// in the favourites, a broken file and files that are not music.
class FolderImport : public ::testing::Test {
protected:
    void SetUp() override {
        Song(dir.Write("lib/B album/10 z.mp3", test::MakeMp3(1)), {"Ten", "Band", "", 10, ""});
        Song(dir.Write("lib/B album/2 y.flac", test::MakeFlac(1)), {"Two", "Band", "", 2, ""});
        Song(dir.Write("lib/B album/a.opus", test::MakeOpus(1)), {"", "", "", 0, ""});
        dir.Write("lib/B album/b-c.wav", test::MakeWav(1));
        Song(dir.Write("lib/A album/1.mp3", test::MakeMp3(3)), {"晴天", "周杰伦", "", 1, ""});
        dir.Write("lib/A album/cover.jpg", "jpeg");
        dir.Write("lib/A album/lyrics.lrc", "[00:01.00]x");
        dir.Write("lib/A album/broken.flac", std::string(2048, '\x11'));
        Song(dir.Write("lib/known.mp3", test::MakeMp3(1)), {"Known", "", "", 0, ""});
    }
    void Song(const std::filesystem::path& p, const test::TestTags& t) { ASSERT_TRUE(test::SetTags(p, t)); }

    TempDir dir;
    std::atomic<bool> noCancel{false};
};

TEST_F(FolderImport, SortsByFolderTrackNameAndSkipsKnownAndBroken) {
    const ImportResult r = ImportFolder(dir / "lib", {P(dir, "lib/known.mp3")}, noCancel);
    EXPECT_EQ(r.found, 7);
    EXPECT_EQ(r.duplicates, 1);
    EXPECT_EQ(r.unreadable, 1);
    EXPECT_FALSE(r.cancelled);
    const QStringList expected = {
        QStringLiteral("晴天 ┈ 周杰伦<|>%1<|>3").arg(P(dir, "lib/A album/1.mp3")),
        QStringLiteral("Two ┈ Band<|>%1<|>1").arg(P(dir, "lib/B album/2 y.flac")),
        QStringLiteral("Ten ┈ Band<|>%1<|>1").arg(P(dir, "lib/B album/10 z.mp3")),
        QStringLiteral("a<|>%1<|>1").arg(P(dir, "lib/B album/a.opus")),
        QStringLiteral("b ┈ c<|>%1<|>1").arg(P(dir, "lib/B album/b-c.wav")),
    };
    EXPECT_EQ(r.lines, expected);
    // The song to play: of those the favourites already hold, the one they
    // list first; else the first in folder order.
    EXPECT_EQ(r.firstLink, P(dir, "lib/known.mp3"));
    const QStringList favourites = {QStringLiteral("/elsewhere.mp3"), P(dir, "lib/B album/2 y.flac"),
                                    P(dir, "lib/known.mp3")};
    EXPECT_EQ(ImportFolder(dir / "lib", favourites, noCancel).firstLink, P(dir, "lib/B album/2 y.flac"));
    EXPECT_EQ(ImportFolder(dir / "lib/A album", {}, noCancel).firstLink, P(dir, "lib/A album/1.mp3"));
}

TEST_F(FolderImport, ProgressCountsUpAndCancelLeavesNoLines) {
    std::vector<std::pair<int, int>> seen;
    const ImportResult r = ImportFolder(dir / "lib", {}, noCancel, [&](int d, int t) { seen.emplace_back(d, t); });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), std::make_pair(0, 0));
    EXPECT_EQ(seen.back(), std::make_pair(7, 7));
    EXPECT_EQ(r.lines.size(), 6);

    std::atomic<bool> cancel{false};
    const ImportResult c = ImportFolder(dir / "lib", {}, cancel, [&](int d, int) { if (d == 2) cancel = true; });
    EXPECT_TRUE(c.cancelled);
    EXPECT_TRUE(c.lines.isEmpty());
}

TEST_F(FolderImport, UnreadableFoldersAndMissingRootsAreSurvived) {
    EXPECT_EQ(ImportFolder(dir / "nowhere", {}, noCancel).found, 0);
    dir.Write("lib/locked/x.mp3", test::MakeMp3(1));
    ::chmod((dir / "lib/locked").c_str(), 0);
    const ImportResult r = ImportFolder(dir / "lib", {}, noCancel);
    ::chmod((dir / "lib/locked").c_str(), 0755);
    EXPECT_GE(r.lines.size(), 6);
}

// The threaded import answers on the window thread, once, with its own id;
// a run replaced by a newer one is never delivered.
TEST_F(FolderImport, WorkerDeliversOnlyTheLatestRunOnce) {
    LocalImport import;
    std::vector<ImportResult> results;
    QObject::connect(&import, &LocalImport::Finished, [&](const ImportResult& r) { results.push_back(r); });
    const quint64 first = import.Start(dir / "lib", {});
    const quint64 second = import.Start(dir / "lib/B album", {});
    EXPECT_NE(first, second);
    ASSERT_TRUE(test::WaitFor([&] { return !import.IsRunning(); }));
    test::Pump(50);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].id, second);
    EXPECT_EQ(results[0].lines.size(), 4);

    const quint64 third = import.Start(dir / "lib", {});
    import.Cancel();
    ASSERT_TRUE(test::WaitFor([&] { return !import.IsRunning(); }));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[1].id, third);
    EXPECT_TRUE(results[1].cancelled || results[1].lines.size() == 6);
}

}  // namespace
}  // namespace tavo

namespace tavo {
namespace {

TEST(ImportSummaryText, NamesWhatWasAddedAndEverySkipReason) {
    ImportResult r;
    r.found = 9;
    r.lines = QStringList(5, QStringLiteral("x"));
    r.duplicates = 2;
    r.unreadable = 1;
    r.refused = 1;
    EXPECT_EQ(ImportSummary(r), QStringLiteral("已添加 5 首歌曲；跳过：2 首已在收藏列表中，1 个文件无法读取，"
                                              "1 个文件的路径含有列表分隔符或换行，无法收藏。"));
    r.duplicates = r.unreadable = r.refused = 0;
    EXPECT_EQ(ImportSummary(r), QStringLiteral("已添加 5 首歌曲。"));
    r.cancelled = true;
    EXPECT_TRUE(ImportSummary(r).startsWith(QStringLiteral("已取消")));
    EXPECT_EQ(ImportSummary(ImportResult{}), QStringLiteral("这个文件夹里没有找到音乐文件。"));
}

}  // namespace
}  // namespace tavo
