#include "platform/core/cover_file.h"

#include "support/core/test_media.h"
#include "support/temp_dir.h"

#include <QUrl>

#include <gtest/gtest.h>


namespace tavo::platform {
namespace {

const QByteArray kJpeg("\xFF\xD8\xFF\xE0" "rest of a picture", 21);

TEST(CoverExtension, ByTheFirstBytes) {
    EXPECT_EQ(CoverExtension(kJpeg), QStringLiteral("jpg"));
    EXPECT_EQ(CoverExtension(QByteArray("\x89PNG\r\n\x1A\n....", 12)), QStringLiteral("png"));
    EXPECT_EQ(CoverExtension("GIF89a..."), QStringLiteral("gif"));
    EXPECT_EQ(CoverExtension(QByteArray("RIFF\x10\0\0\0WEBPVP8 ", 16)), QStringLiteral("webp"));
    EXPECT_EQ(CoverExtension("<html>"), QString());
    EXPECT_EQ(CoverExtension(QByteArray()), QString());
}

TEST(CoverFileUrl, WritesTheCoverOnceAndANewOneWhenTheSongChanges) {
    test::TempDir dir;
    const auto song = dir.Write("music/a.mp3", "audio");
    const auto folder = dir / "cache/covers";
    int reads = 0;
    const CoverReader reader = [&](const std::filesystem::path&) -> std::optional<QByteArray> {
        ++reads;
        return kJpeg;
    };
    const QString url = CoverFileUrl(folder, song, reader);
    ASSERT_TRUE(url.startsWith(QStringLiteral("file:///"))) << url.toStdString();
    EXPECT_TRUE(url.endsWith(QStringLiteral(".jpg")));
    EXPECT_EQ(test::TempDir::Read(QUrl(url).toLocalFile().toStdString()), kJpeg.toStdString());
    EXPECT_EQ(CoverFileUrl(folder, song, reader), url);
    EXPECT_EQ(reads, 1);  // the second time the file is found, the song not read

    dir.Write("music/a.mp3", "audio, retagged");
    const QString changed = CoverFileUrl(folder, song, reader);
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_NE(changed, url);
    EXPECT_EQ(reads, 2);
}

TEST(CoverFileUrl, NoCoverForWhatIsNotALocalSongOrNotAPicture) {
    test::TempDir dir;
    const auto song = dir.Write("a.mp3", "audio");
    const auto folder = dir / "covers";
    auto giving = [](std::optional<QByteArray> bytes) {
        return CoverReader([bytes](const std::filesystem::path&) { return bytes; });
    };
    EXPECT_EQ(CoverFileUrl(folder, song, giving(std::nullopt)), QString());
    EXPECT_EQ(CoverFileUrl(folder, song, giving(QByteArray("<html>not a picture"))), QString());
    EXPECT_EQ(CoverFileUrl(folder, song, giving(kJpeg + QByteArray(kMaxCoverBytes, 'x'))), QString());
    EXPECT_EQ(CoverFileUrl(folder, dir / "missing.mp3", giving(kJpeg)), QString());
    EXPECT_EQ(CoverFileUrl(folder, "http://host/a.mp3", giving(kJpeg)), QString());
    EXPECT_EQ(CoverFileUrl(folder, song, CoverReader()), QString());
    EXPECT_FALSE(std::filesystem::exists(folder));  // nothing written for any of them
    // A folder that cannot be made: no address, no crash.
    const auto blocker = dir.Write("file", "x");
    EXPECT_EQ(CoverFileUrl(blocker / "covers", song, giving(kJpeg)), QString());
}

TEST(SongCoverUrl, ALocalSongsEmbeddedCoverByPathOrFileAddress) {
    test::TempDir home;
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString((home / "cache").string()));
    const auto song = home.Write("music/a.mp3", test::MakeMp3(1.0));
    ASSERT_TRUE(test::AddCover(song, kJpeg.toStdString(), "image/jpeg"));
    const QString path = QString::fromStdString(song.string());

    EXPECT_EQ(LocalSongPath(path), song);
    EXPECT_EQ(LocalSongPath(QUrl::fromLocalFile(path).toString()), song);
    for (const char* other : {"http://host/a.mp3", "music/a.mp3", "file://host/a.mp3", ""})
        EXPECT_TRUE(LocalSongPath(QString::fromUtf8(other)).empty()) << other;

    const QString url = SongCoverUrl(path);
    ASSERT_TRUE(url.endsWith(QStringLiteral(".jpg"))) << url.toStdString();
    EXPECT_TRUE(url.startsWith(QUrl::fromLocalFile(QString::fromStdString((home / "cache").string())).toString()));
    EXPECT_EQ(test::TempDir::Read(QUrl(url).toLocalFile().toStdString()), kJpeg.toStdString());
    EXPECT_EQ(SongCoverUrl(QUrl::fromLocalFile(path).toString()), url);
    EXPECT_EQ(SongCoverUrl(QString::fromStdString(home.Write("plain.mp3", test::MakeMp3(1.0)).string())), QString());
    qunsetenv("XDG_CACHE_HOME");
}

}  // namespace
}  // namespace tavo::platform
