// The lyrics cache on disk: safe and distinct file names, the by-hand
// choice, the size bound, the user's cache folder.
#include "lyrics/core/lyrics_cache.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <thread>

namespace tavo {
namespace {

namespace fs = std::filesystem;

TEST(LyricsCache, AnyArtistAndTitleGetASafeDistinctFile) {
    test::TempDir dir;
    LyricsCache cache(dir / "lyrics");
    const std::pair<QString, QString> songs[] = {
        {"周杰伦", "晴天"},
        {"AC/DC", "Back In Black"},
        {"..", "../../etc/passwd"},
        {"a\\b:c*d?e\"f<g>h|i", "\r\n\t"},
        {QString(300, QChar(u'长')), QString(300, QChar(u'歌'))},
        {"", ""},
        {"AC DC", "Back In Black"},  // the same readable part as AC/DC: the hash keeps them apart
    };
    std::set<QString> stems;
    for (const auto& [artist, title] : songs) {
        const QString stem = LyricsCache::FileStem(artist, title);
        EXPECT_LE(stem.size(), 48 + 1 + 16);
        for (const QChar c : stem) EXPECT_TRUE(c.isLetterOrNumber() || c == u'_' || c == u'-') << stem.toStdString();
        stems.insert(stem);
        ASSERT_TRUE(cache.Store(artist, title, QStringLiteral("[00:01.00]") + title));
        EXPECT_EQ(cache.Read(artist, title), QStringLiteral("[00:01.00]") + title);
    }
    EXPECT_EQ(stems.size(), std::size(songs));
    // Everything stayed inside the folder.
    int files = 0;
    for (const auto& e : fs::recursive_directory_iterator(dir.path())) files += e.is_regular_file();
    EXPECT_EQ(files, static_cast<int>(std::size(songs)));
    // Letter case and surrounding spaces do not make another song.
    EXPECT_EQ(cache.Read(QStringLiteral(" ac/dc "), QStringLiteral("BACK IN BLACK")), QStringLiteral("[00:01.00]Back In Black"));
    EXPECT_FALSE(cache.Read(QStringLiteral("周杰伦"), QStringLiteral("雨天")));
}

TEST(LyricsCache, AChoiceByHandWinsAndIsNeverDropped) {
    test::TempDir dir;
    LyricsCache cache(dir.path(), 100);
    cache.Store("A", "T", "found");
    cache.Remember("A", "T", "chosen");
    EXPECT_EQ(cache.Read("A", "T"), "chosen");
    EXPECT_EQ(cache.Choice("A", "T"), "chosen");
    for (int i = 0; i < 10; ++i) cache.Store("B", QString::number(i), QString(60, 'x'));
    EXPECT_EQ(cache.Read("A", "T"), "chosen");
}

TEST(LyricsCache, BeyondItsBoundTheLeastRecentlyUsedGoFirst) {
    test::TempDir dir;
    LyricsCache cache(dir.path(), 250);
    const auto at = [&](const QString& title, int secondsAgo) {
        const fs::path file = dir / (LyricsCache::FileStem("A", title) + ".lrc").toStdString();
        fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::seconds(secondsAgo));
    };
    cache.Store("A", "old", QString(100, 'o'));
    at("old", 300);
    cache.Store("A", "used", QString(100, 'u'));
    at("used", 200);
    ASSERT_TRUE(cache.Read("A", "used"));  // a read is a use: now the newest
    cache.Store("A", "new", QString(100, 'n'));
    EXPECT_FALSE(cache.Read("A", "old"));
    EXPECT_TRUE(cache.Read("A", "used"));
    EXPECT_TRUE(cache.Read("A", "new"));
    EXPECT_LE(cache.FoundBytes(), 250);
    // A lyric larger than the bound by itself is still kept: it was just found.
    cache.Store("A", "huge", QString(400, 'h'));
    EXPECT_TRUE(cache.Read("A", "huge"));
}

TEST(LyricsCache, OversizedOrUnreadableFilesReadAsAbsent) {
    test::TempDir dir;
    LyricsCache cache(dir.path());
    EXPECT_FALSE(cache.Store("A", "T", QString(kMaxLyricsFileBytes + 1, 'x')));
    dir.Write((LyricsCache::FileStem("A", "T") + ".lrc").toStdString(), std::string(kMaxLyricsFileBytes + 1, 'x'));
    EXPECT_FALSE(cache.Read("A", "T"));
    dir.Write((LyricsCache::FileStem("A", "U") + ".lrc").toStdString(), "\xEF\xBB\xBF[00:01.00]\xE6\x99\xB4");
    EXPECT_EQ(cache.Read("A", "U"), QStringLiteral("[00:01.00]晴"));
}

TEST(LyricsCache, TheFolderIsUnderTheUsersCacheFolder) {
    const char* old = std::getenv("XDG_CACHE_HOME");
    const std::string kept = old ? old : "";
    setenv("XDG_CACHE_HOME", "/tmp/tavo-cache-test", 1);
    EXPECT_EQ(LyricsCache::DefaultFolder(), fs::path("/tmp/tavo-cache-test/tavo-musicbox/lyrics"));
    setenv("XDG_CACHE_HOME", "relative/not/used", 1);
    EXPECT_EQ(LyricsCache::DefaultFolder().filename(), "lyrics");
    EXPECT_EQ(LyricsCache::DefaultFolder().parent_path().parent_path().filename(), ".cache");
    if (old)
        setenv("XDG_CACHE_HOME", kept.c_str(), 1);
    else
        unsetenv("XDG_CACHE_HOME");
}

}  // namespace
}  // namespace tavo
