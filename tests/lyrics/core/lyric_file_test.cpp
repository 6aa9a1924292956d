#include "lyrics/core/local_lyrics.h"
#include "lyrics/lyric_file.h"

#include "support/temp_dir.h"
#include "support/core/test_media.h"

#include <gtest/gtest.h>

namespace tavo::lyrics {
namespace {

using test::TempDir;

TEST(LyricFile, DecodesEveryEncodingItMayBeIn) {
    const QString expected = QStringLiteral("[00:01.00]晴天");
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"utf8", expected.toUtf8()},
        {"utf8 bom", "\xEF\xBB\xBF" + expected.toUtf8()},
        {"utf16le bom", QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(expected.utf16()), expected.size() * 2)},
        {"gb18030", QByteArray("[00:01.00]\xC7\xE7\xCC\xEC")},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeLyricBytes(c.bytes), expected) << c.name;
    QByteArray be("\xFE\xFF", 2);
    for (const QChar ch : expected) {
        be.append(static_cast<char>(ch.unicode() >> 8));
        be.append(static_cast<char>(ch.unicode() & 0xFF));
    }
    EXPECT_EQ(DecodeLyricBytes(be), expected) << "utf16be bom";
}

TEST(LyricFile, ReadRefusesWhatIsNotALyricFile) {
    TempDir dir;
    EXPECT_EQ(ReadLyricFile(dir / "none.lrc").error, LyricFileError::Missing);
    const auto big = dir.Write("big.lrc", std::string(static_cast<size_t>(kMaxLyricFileBytes) + 1, 'a'));
    EXPECT_EQ(ReadLyricFile(big).error, LyricFileError::TooLarge);
    const auto limit = dir.Write("limit.lrc", std::string(static_cast<size_t>(kMaxLyricFileBytes), 'a'));
    EXPECT_EQ(ReadLyricFile(limit).error, LyricFileError::None);
    const auto binary = dir.Write("bin.lrc", std::string("\x01\x00\x02\x00\x7f", 5));
    const LyricFile r = ReadLyricFile(binary);
    EXPECT_EQ(r.error, LyricFileError::NotText);
    EXPECT_TRUE(r.text.isEmpty());
}

TEST(LyricFile, FindsTheSongsOwnNameThenArtistDashTitle) {
    TempDir dir;
    const auto song = dir.Write("music/01 track.mp3", "x");
    EXPECT_FALSE(FindLyricFileBeside(song, "周杰伦", "晴天"));
    const auto named = dir.Write("music/周杰伦 - 晴天.lrc", "b");
    EXPECT_EQ(FindLyricFileBeside(song, "周杰伦", "晴天"), named);
    EXPECT_FALSE(FindLyricFileBeside(song)) << "no tags, no artist - title name";
    const auto own = dir.Write("music/01 track.LRC", "a");
    EXPECT_EQ(FindLyricFileBeside(song, "周杰伦", "晴天"), own);
    // A title holding "/" cannot name a file elsewhere.
    EXPECT_FALSE(FindLyricFileBeside(dir / "music/x.mp3", "..", "../../etc"));
}

// The local lyrics order: the song's own .lrc, "artist - title.lrc", then
// the lyrics in its tags; an unusable file lets the search go on.
TEST(LocalLyrics, FollowsTheOrderBesideThenNamedThenEmbedded) {
    TempDir dir;
    const auto song = dir.Write("a/song.mp3", test::MakeMp3(1.0));
    EXPECT_FALSE(FindLocalLyrics(song));
    ASSERT_TRUE(test::SetTags(song, {"晴天", "周杰伦", "", 0, "embedded"}));
    EXPECT_EQ(FindLocalLyrics(song), QStringLiteral("embedded"));
    dir.Write("a/周杰伦 - 晴天.lrc", "\xEF\xBB\xBFnamed");
    EXPECT_EQ(FindLocalLyrics(song), QStringLiteral("named"));
    dir.Write("a/song.lrc", "[offset:+200]\r\n[00:01.00]\xC7\xE7\xCC\xEC");
    EXPECT_EQ(FindLocalLyrics(song), QStringLiteral("[offset:+200]\r\n[00:01.00]晴天"));
    dir.Write("a/song.lrc", std::string(static_cast<size_t>(kMaxLyricFileBytes) + 10, 'x'));
    EXPECT_EQ(FindLocalLyrics(song), QStringLiteral("named")) << "an oversized own file is passed over";
    EXPECT_FALSE(FindLocalLyrics(dir / "a/vanished.mp3"));
}

}  // namespace
}  // namespace tavo::lyrics
