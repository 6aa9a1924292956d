#include "sources/playlist_formats.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

namespace fs = std::filesystem;

const fs::path kFolder = "/music/lists";

PlaylistRead Read(const QByteArray& bytes, PlaylistFormat f) { return ReadPlaylist(bytes, f, kFolder); }

TEST(PlaylistRead, M3uExtinfRelativePathsAndAddresses) {
    const PlaylistRead r = Read(
        "#EXTM3U\r\n"
        "#EXTINF:245,周杰伦 - 晴天\r\n"
        "../songs/qing tian.mp3\r\n"
        "#EXTINF:-1,Radio One\n"
        "http://radio.example/stream\n"
        "# a comment\n"
        "/abs/b.flac\n"
        "ftp://host/x.mp3\n"
        "#EXTINF:garbage\n"
        "sub\\win.mp3\n",
        PlaylistFormat::M3u);
    ASSERT_EQ(r.entries.size(), 4u);
    EXPECT_EQ(r.entries[0].location, QStringLiteral("/music/songs/qing tian.mp3"));
    EXPECT_EQ(r.entries[0].artist, QStringLiteral("周杰伦"));
    EXPECT_EQ(r.entries[0].title, QStringLiteral("晴天"));
    EXPECT_EQ(r.entries[0].durationMs, 245000);
    EXPECT_TRUE(r.entries[1].isAddress);
    EXPECT_EQ(r.entries[1].title, QStringLiteral("Radio One"));
    EXPECT_EQ(r.entries[1].durationMs, -1);
    EXPECT_EQ(r.entries[2].location, QStringLiteral("/abs/b.flac"));
    EXPECT_TRUE(r.entries[2].title.isEmpty());
    EXPECT_EQ(r.entries[3].location, QStringLiteral("/music/lists/sub/win.mp3"));
    EXPECT_EQ(r.skipped, 2) << "the ftp line and the EXTINF without a comma";
}

TEST(PlaylistRead, M3uInTheOldCodePage) {
    const PlaylistRead r = Read("#EXTINF:10,\xD6\xDC - \xC7\xE7\xCC\xEC\n\xC7\xE7.mp3\n", PlaylistFormat::M3u);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].title, QStringLiteral("晴天"));
    EXPECT_EQ(r.entries[0].location, QStringLiteral("/music/lists/晴.mp3"));
}

TEST(PlaylistRead, PlsByNumberWithTitlesAndLengths) {
    const PlaylistRead r = Read(
        "[playlist]\n"
        "File2=http://radio.example/two\n"
        "Title2=Two\n"
        "File1=one.mp3\n"
        "Title1=Artist - One\n"
        "Length1=61\n"
        "Title3=orphan title\n"
        "bogus line\n"
        "NumberOfEntries=3\n"
        "Version=2\n",
        PlaylistFormat::Pls);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[0].location, QStringLiteral("/music/lists/one.mp3"));
    EXPECT_EQ(r.entries[0].artist, QStringLiteral("Artist"));
    EXPECT_EQ(r.entries[0].durationMs, 61000);
    EXPECT_TRUE(r.entries[1].isAddress);
    EXPECT_EQ(r.entries[1].title, QStringLiteral("Two"));
    EXPECT_EQ(r.skipped, 2) << "the bogus line and the title without a file";
}

TEST(PlaylistRead, XspfTracksAndABrokenDocument) {
    const QByteArray doc =
        "<?xml version=\"1.0\"?><playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><trackList>"
        "<track><location>file:///music/%E6%99%B4.mp3</location><title>晴天</title><creator>周杰伦</creator>"
        "<duration>245000</duration></track>"
        "<track><title>no location</title></track>"
        "<track><location>javascript:alert(1)</location></track>"
        "<track><location>https://radio.example/a</location></track>"
        "<track><location>rel/b.ogg</location><title>B";
    const PlaylistRead r = Read(doc, PlaylistFormat::Xspf);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[0].location, QStringLiteral("/music/晴.mp3"));
    EXPECT_EQ(r.entries[0].artist, QStringLiteral("周杰伦"));
    EXPECT_EQ(r.entries[0].durationMs, 245000);
    EXPECT_TRUE(r.entries[1].isAddress);
    EXPECT_EQ(r.skipped, 3);
}

TEST(PlaylistRead, FormatIsFoundByContentThenName) {
    EXPECT_EQ(DetectPlaylistFormat("#EXTM3U\n", "x.txt"), PlaylistFormat::M3u);
    EXPECT_EQ(DetectPlaylistFormat("[Playlist]\n", "x"), PlaylistFormat::Pls);
    EXPECT_EQ(DetectPlaylistFormat("<?xml version='1.0'?>\n<playlist>", "x"), PlaylistFormat::Xspf);
    EXPECT_EQ(DetectPlaylistFormat("a.mp3\n", "x.m3u8"), PlaylistFormat::M3u);
    EXPECT_EQ(DetectPlaylistFormat("\x89PNG", "x.png"), PlaylistFormat::Unknown);
    EXPECT_EQ(Read("a", PlaylistFormat::Unknown).error, PlaylistError::NotPlaylist);
}

TEST(PlaylistRead, GarbageAndSizeLimitsGiveAClearOutcome) {
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i) garbage.append(static_cast<char>((i * 131) & 0xFF));
    for (auto f : {PlaylistFormat::M3u, PlaylistFormat::Pls, PlaylistFormat::Xspf}) {
        const PlaylistRead r = Read(garbage, f);
        EXPECT_EQ(r.error, PlaylistError::None);
        EXPECT_TRUE(r.entries.empty()) << static_cast<int>(f);
    }
    EXPECT_GT(Read(garbage, PlaylistFormat::M3u).skipped, 0);
    test::TempDir dir;
    EXPECT_EQ(ReadPlaylistFile(dir / "none.m3u").error, PlaylistError::Missing);
    std::string big(static_cast<size_t>(kMaxPlaylistBytes) + 1, '\n');
    EXPECT_EQ(ReadPlaylistFile(dir.Write("big.m3u", big)).error, PlaylistError::TooLarge);
}

TEST(PlaylistRead, TenThousandEntries) {
    QByteArray m3u = "#EXTM3U\n";
    for (int i = 0; i < 10000; ++i) m3u += "#EXTINF:1,A - T" + QByteArray::number(i) + "\nsong" + QByteArray::number(i) + ".mp3\n";
    const PlaylistRead r = Read(m3u, PlaylistFormat::M3u);
    ASSERT_EQ(r.entries.size(), 10000u);
    EXPECT_EQ(r.entries.back().title, QStringLiteral("T9999"));
    EXPECT_FALSE(r.truncated);
}

// Writing and reading again gives the same entries, in both written formats.
TEST(PlaylistWrite, RoundTripsThroughM3u8AndXspf) {
    const std::vector<PlaylistEntry> entries = {
        {QStringLiteral("/music/周杰伦/晴天 & <1>.mp3"), false, QStringLiteral("晴天"), QStringLiteral("周杰伦"), 245000},
        {QStringLiteral("http://radio.example/s?a=1&b=2"), true, QStringLiteral("Radio"), QString(), -1},
        {QStringLiteral("/music/plain.flac"), false, QString(), QString(), 1000},
    };
    test::TempDir dir;
    for (const auto& [name, bytes] : {std::pair{"out.m3u8", WriteM3u8(entries)}, std::pair{"out.xspf", WriteXspf(entries)}}) {
        const PlaylistRead r = ReadPlaylistFile(dir.Write(name, bytes.toStdString()));
        ASSERT_EQ(r.entries.size(), entries.size()) << name;
        EXPECT_EQ(r.skipped, 0) << name;
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(r.entries[i].location, entries[i].location) << name << i;
            EXPECT_EQ(r.entries[i].isAddress, entries[i].isAddress) << name << i;
            EXPECT_EQ(r.entries[i].title, entries[i].title) << name << i;
            EXPECT_EQ(r.entries[i].artist, entries[i].artist) << name << i;
            EXPECT_EQ(r.entries[i].durationMs, entries[i].durationMs) << name << i;
        }
    }
}

}  // namespace
}  // namespace tavo
