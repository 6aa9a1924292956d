#include "app/open_items.h"

#include "support/temp_dir.h"
#include "support/core/test_media.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

QString P(const test::TempDir& d, const char* rel) { return QString::fromStdString((d / rel).string()); }

TEST(OpenItems, FilesFoldersPlaylistsAndAddressesInOrder) {
    test::TempDir dir;
    ASSERT_TRUE(test::SetTags(dir.Write("a.mp3", test::MakeMp3(2)), {"晴天", "周杰伦", "", 0, ""}));
    dir.Write("Artist-Title.wav", test::MakeWav(1));
    dir.Write("album/x.flac", test::MakeFlac(1));
    dir.Write("list.m3u8", "#EXTM3U\n#EXTINF:5,A - B\nsub/b.ogg\nftp://bad/x\n");
    dir.Write("notes.txt", "x");
    dir.Write("broken.flac", std::string(1000, '\x01'));
    const OpenPlan plan = PlanOpen({P(dir, "a.mp3"), P(dir, "album"), "http://radio.example/s", P(dir, "list.m3u8"),
                                    P(dir, "Artist-Title.wav"), P(dir, "notes.txt"), P(dir, "broken.flac"),
                                    P(dir, "gone.mp3"), P(dir, "known.mp3")},
                                   {P(dir, "Artist-Title.wav")});
    EXPECT_EQ(plan.lines, (QStringList{QStringLiteral("晴天 ┈ 周杰伦<|>%1<|>2").arg(P(dir, "a.mp3")),
                                       "http://radio.example/s<|>http://radio.example/s",
                                       QStringLiteral("B ┈ A<|>%1<|>5").arg(P(dir, "sub/b.ogg"))}));
    ASSERT_EQ(plan.folders.size(), 1u);
    EXPECT_EQ(plan.folders[0], dir / "album");
    EXPECT_EQ(plan.playFirst, P(dir, "a.mp3"));
    EXPECT_FALSE(plan.playFirstIsFolder);
    EXPECT_EQ(plan.duplicates, 1);
    EXPECT_EQ(plan.unusable, 5) << "ftp line, notes.txt, broken.flac, gone.mp3, known.mp3 (missing)";
}

TEST(OpenItems, TheFirstItemPlaysEvenWhenAlreadyAFavourite) {
    test::TempDir dir;
    dir.Write("a.mp3", test::MakeMp3(1));
    OpenPlan plan = PlanOpen({P(dir, "a.mp3")}, {P(dir, "a.mp3")});
    EXPECT_TRUE(plan.lines.isEmpty());
    EXPECT_EQ(plan.playFirst, P(dir, "a.mp3"));
    plan = PlanOpen({dir.path().string().c_str(), P(dir, "a.mp3")}, {});
    EXPECT_TRUE(plan.playFirstIsFolder);
    EXPECT_TRUE(plan.playFirst.isEmpty());
}

}  // namespace
}  // namespace tavo
