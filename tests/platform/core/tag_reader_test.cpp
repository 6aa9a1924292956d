#include "platform/core/tag_reader.h"

#include "support/temp_dir.h"
#include "support/core/test_media.h"

#include <gtest/gtest.h>

namespace tavo::platform {
namespace {

using test::TempDir;

// "晴天" and "周杰伦" in code page 936.
const std::string kGbTitle = "\xC7\xE7\xCC\xEC";
const std::string kGbArtist = "\xD6\xDC\xBD\xDC\xC2\xD7";

struct FormatCase {
    const char* name;
    std::string (*make)(double);
    int expectMs;  // the stream's length as made
};

class TagFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(TagFormats, ReadsTitleArtistAlbumTrackDurationAndLyrics) {
    TempDir dir;
    const auto file = dir.Write(GetParam().name, GetParam().make(2.0));
    ASSERT_TRUE(test::SetTags(file, {"晴天", "周杰伦", "叶惠美", 7, "[00:01.00]故事的小黄花"}));
    const TagReadResult r = ReadTags(file, kTagLyrics);
    ASSERT_EQ(r.error, TagReadError::None);
    EXPECT_EQ(r.info.title, QStringLiteral("晴天"));
    EXPECT_EQ(r.info.artist, QStringLiteral("周杰伦"));
    EXPECT_EQ(r.info.album, QStringLiteral("叶惠美"));
    EXPECT_EQ(r.info.track, 7);
    EXPECT_NEAR(r.info.durationMs, GetParam().expectMs, 150);
    EXPECT_EQ(r.info.lyrics, QStringLiteral("[00:01.00]故事的小黄花"));
}

INSTANTIATE_TEST_SUITE_P(Formats, TagFormats,
                         ::testing::Values(FormatCase{"a.mp3", test::MakeMp3, 2000},
                                           FormatCase{"a.flac", test::MakeFlac, 2048},
                                           FormatCase{"a.opus", test::MakeOpus, 2000}),
                         [](const auto& info) { return std::string(info.param.name).substr(2); });

TEST(TagReader, WavTagsLiveInItsId3Chunk) {
    TempDir dir;
    const auto file = dir.Write("a.wav", test::MakeWav(1.0));
    ASSERT_TRUE(test::SetTags(file, {"Title", "Artist", "", 3, ""}));
    const TagReadResult r = ReadTags(file);
    ASSERT_EQ(r.error, TagReadError::None);
    EXPECT_EQ(r.info.title, QStringLiteral("Title"));
    EXPECT_EQ(r.info.track, 3);
    EXPECT_NEAR(r.info.durationMs, 1000, 50);
}

struct LegacyCase {
    const char* name;
    bool v2, v1;
};

class LegacyText : public ::testing::TestWithParam<LegacyCase> {};

TEST_P(LegacyText, GbkBytesInLatin1FramesReadAsChinese) {
    TempDir dir;
    const auto file = dir.Write("a.mp3", test::MakeMp3(1.0));
    ASSERT_TRUE(test::SetLegacyMp3Tags(file, kGbTitle, kGbArtist, GetParam().v2, GetParam().v1));
    const TagReadResult r = ReadTags(file);
    ASSERT_EQ(r.error, TagReadError::None);
    EXPECT_EQ(r.info.title, QStringLiteral("晴天"));
    EXPECT_EQ(r.info.artist, QStringLiteral("周杰伦"));
}

INSTANTIATE_TEST_SUITE_P(Tags, LegacyText,
                         ::testing::Values(LegacyCase{"Id3v2", true, false}, LegacyCase{"Id3v1", false, true},
                                           LegacyCase{"Both", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TagReader, LegacyDecodingKeepsRealLatin1AndUtf8) {
    const struct {
        QByteArray bytes;
        QString expected;
    } cases[] = {
        {"Caf\xE9", QStringLiteral("Café")},                        // a lone accent is not GBK
        {"Bj\xF6rk \xC5sa", QStringLiteral("Björk Åsa")},           // pairs that decode to no Chinese
        {"\xE6\x99\xB4\xE5\xA4\xA9", QStringLiteral("晴天")},       // UTF-8 in a Latin-1 frame
        {QByteArray::fromStdString(kGbTitle), QStringLiteral("晴天")},
        {"plain", QStringLiteral("plain")},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeLegacyTagText(c.bytes), c.expected) << c.bytes.toHex().constData();
}

TEST(TagReader, SyncedLyricsBecomeLrcLines) {
    TempDir dir;
    const auto file = dir.Write("a.mp3", test::MakeMp3(1.0));
    ASSERT_TRUE(test::AddSyncedLyrics(file, {{1500, "one"}, {62250, "two"}}));
    const TagReadResult r = ReadTags(file, kTagLyrics);
    EXPECT_EQ(r.info.lyrics, QStringLiteral("[00:01.50]one\r\n[01:02.25]two\r\n"));
    EXPECT_TRUE(ReadTags(file).info.lyrics.isEmpty()) << "lyrics only when asked for";
}

TEST(TagReader, CoverIsReadWithinItsLimit) {
    TempDir dir;
    const auto file = dir.Write("a.mp3", test::MakeMp3(1.0));
    const std::string png = "\x89PNG\r\n\x1a\n-picture-";
    ASSERT_TRUE(test::AddCover(file, png, "image/png"));
    const TagReadResult r = ReadTags(file, kTagCover);
    EXPECT_EQ(r.info.cover, QByteArray::fromStdString(png));
    EXPECT_EQ(r.info.coverMime, QStringLiteral("image/png"));
    EXPECT_EQ(r.info.dropped, kDroppedNone);
}

TEST(TagReader, OverlongTitleIsDroppedAndNamed) {
    TempDir dir;
    const auto file = dir.Write("a.flac", test::MakeFlac(0.5));
    ASSERT_TRUE(test::SetTags(file, {std::string(5000, 'x'), "Artist", "", 0, ""}));
    const TagReadResult r = ReadTags(file);
    ASSERT_EQ(r.error, TagReadError::None);
    EXPECT_TRUE(r.info.title.isEmpty());
    EXPECT_EQ(r.info.artist, QStringLiteral("Artist"));
    EXPECT_TRUE(r.info.dropped & kDroppedText);
}

TEST(TagReader, BadFilesGiveAClearOutcome) {
    TempDir dir;
    EXPECT_EQ(ReadTags(dir / "gone.mp3").error, TagReadError::Missing);
    EXPECT_EQ(ReadTags(dir.path()).error, TagReadError::Missing);
    EXPECT_EQ(ReadTags(dir.Write("x.flac", std::string(4096, '\x5A'))).error, TagReadError::Unreadable);
    EXPECT_EQ(ReadTags(dir.Write("x.opus", "OggS garbage")).error, TagReadError::Unreadable);
    EXPECT_EQ(ReadTags(dir.Write("x.dsf", "DSD ")).error, TagReadError::Unsupported);
    // An ID3v2 header that claims a tag far larger than the file.
    std::string huge = "ID3\x04\x00\x00\x7F\x7F\x7F\x7F" + std::string("TIT2\x7F\x7F\x7F\x7F\x00\x00", 10);
    const auto hostile = dir.Write("h.mp3", huge + test::MakeMp3(0.5));
    const TagReadResult r = ReadTags(hostile, kTagLyrics | kTagCover);
    EXPECT_NE(r.error, TagReadError::Missing);
    EXPECT_LE(r.info.title.size(), kMaxTagTextChars);
}

}  // namespace
}  // namespace tavo::platform
