// The favourites commands of the list menus, through their menu items, on a
// real favourites file in a temporary folder.
#include "app/favourites_file.h"
#include "shell/ico_bar_s.h"

#include "fake_shell_host.h"
#include "platform/codepage.h"
#include "support/core/test_media.h"
#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QProcess>

#include <csignal>

namespace tavo {
namespace {

using test::FakeShellHost;
using test::TempDir;

TEST(LocalFileDisplayName, FollowsTheNameRule) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"D:\\Music\\Artist-Title.mp3", "Artist ┈ Title"},
        {"/home/u/Music/a_-b.mp3", "a ┈ b"},
        {"/m/x.y.mp3", "x"},
        {"/m/周杰伦~晴天.flac", "周杰伦 ┈ 晴天"},
        {"/m/a_-~_-~_b.ogg", "a ┈ b"},  // any run of separators collapses
        {"C:\\dir/sub\\name.wav", "name"},  // both separators count
        {"/m/.hidden.mp3", ".hidden.mp3"},  // nothing before the dot: the whole name
        {"no-folder.mp3", "no ┈ folder"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LocalFileDisplayName(QString::fromUtf8(c.path)), QString::fromUtf8(c.name)) << c.path;
}

class Favourites : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes) { return dir.Write("MySongList.txt", bytes).string(); }
    std::string File() const { return TempDir::Read(dir / "MySongList.txt"); }
    void Show(int sel) {
        host.MySongList();
        host.sel = sel;
        host.calls.clear();
    }
    void Choose(const char* item) { ico.Item(QString::fromLatin1(item))->trigger(); }

    TempDir dir;
    FakeShellHost host{dir / "MySongList.txt"};
    icoBarS ico{host};
    test::ScopedFakeMessageBox messages;
    // A line written by an old code page 936 tool: "老歌" in GBK.
    const std::string gbkLine = platform::EncodeCp936(QStringLiteral("老歌<|>")).toStdString();
};

TEST_F(Favourites, AddAppendsTheRightClickedEntryAndKeepsOldBytes) {
    Write(gbkLine + "\r\nA ┈ x<|>");  // no line end at the end
    host.items = {QStringLiteral("晴天 ┈ 周杰伦"), QStringLiteral("B")};
    host.sel = 0;
    Choose("M_AddMySongList");
    EXPECT_EQ(File(), gbkLine + "\r\nA ┈ x<|>\r\n晴天 ┈ 周杰伦<|>\r\n");

    host.sel = 2;  // outside the list: nothing
    Choose("M_AddMySongList");
    EXPECT_EQ(File(), gbkLine + "\r\nA ┈ x<|>\r\n晴天 ┈ 周杰伦<|>\r\n");
    EXPECT_TRUE(messages.shown().empty());

    // An entry of a hostile page: no local link, no second line.
    host.items << QStringLiteral("坏<|>/home/u/x.mp3\nY{@}<|>");
    Choose("M_AddMySongList");
    EXPECT_EQ(File(), gbkLine + "\r\nA ┈ x<|>\r\n晴天 ┈ 周杰伦<|>\r\n坏 /home/u/x.mp3 Y  <|>\r\n");
}

TEST_F(Favourites, RemoveRewritesTheOtherLinesWithATrailingEmptyLine) {
    const struct {
        int sel;
        std::string after;
    } cases[] = {
        {1, gbkLine + "\r\nC<|>/m/c.mp3\r\n\r\n"},
        {2, gbkLine + "\r\nB<|>\r\n\r\n"},  // the last entry
        {0, "B<|>\r\nC<|>/m/c.mp3\r\n\r\n"},
    };
    for (const auto& c : cases) {
        Write(gbkLine + "\r\n\r\n   \r\nB<|>\nC<|>/m/c.mp3");
        Show(c.sel);
        Choose("M_DelMySong");
        EXPECT_EQ(File(), c.after) << c.sel;
        EXPECT_EQ(host.items.size(), 2) << c.sel;
        EXPECT_TRUE(host.calls.contains(QStringLiteral("MySongList"))) << c.sel;
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Favourites, RemoveOfALineChangedOnDiskRemovesNothingAndReloads) {
    Write("A<|>\r\nB<|>\r\nC<|>\r\n");
    Show(1);
    const std::string edited = "A<|>\r\nX<|>\r\nB<|>\r\nC<|>\r\n";  // another copy inserted a line
    Write(edited);
    Choose("M_DelMySong");
    EXPECT_EQ(File(), edited);
    EXPECT_EQ(host.items, (QStringList{"A", "X", "B", "C"}));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("没有移除")));

    Write("A<|>\r\n");  // the line is gone altogether
    Show(0);
    host.sel = 1;
    host.items << QStringLiteral("B");
    Choose("M_DelMySong");
    EXPECT_EQ(File(), "A<|>\r\n");
}

TEST_F(Favourites, RemoveKeepsThePlayStateRight) {
    const struct {
        int sel;
        int playIndex;
        bool inList;
        bool stops;
        int playIndexAfter;
    } cases[] = {
        {2, 2, true, true, 2},     // the playing song
        {0, 12, true, false, 11},  // above it, another page
        {5, 2, true, false, 2},    // below it
        {2, 2, false, false, 2},   // another list plays
    };
    for (const auto& c : cases) {
        std::string lines;
        for (int i = 0; i < 14; ++i) lines += "S" + std::to_string(i) + "<|>\r\n";
        Write(lines);
        Show(c.sel);
        host.playIndex = c.playIndex;
        host.inList = c.inList;
        Choose("M_DelMySong");
        EXPECT_EQ(host.calls.contains(QStringLiteral("PlayStop")), c.stops) << c.sel;
        EXPECT_EQ(host.playIndex, c.playIndexAfter) << c.sel;
        EXPECT_EQ(host.calls.contains(QStringLiteral("Play_List")), c.inList) << c.sel;
        if (c.inList) {
            EXPECT_EQ(host.playList.size(), 13) << c.sel;
        }
    }
}

TEST_F(Favourites, ClearDeletesTheFileOnlyWhenConfirmed) {
    Write("A<|>\r\nB<|>\r\n");
    Show(1);
    host.playIndex = 1;
    host.inList = true;
    messages.box().answer = platform::MsgResult::Cancel;
    Choose("M_MySongClear");
    EXPECT_EQ(File(), "A<|>\r\nB<|>\r\n");

    messages.box().answer = platform::MsgResult::Ok;
    Choose("M_MySongClear");
    EXPECT_FALSE(std::filesystem::exists(dir / "MySongList.txt"));
    EXPECT_TRUE(host.items.isEmpty());
    EXPECT_EQ(host.calls, (QStringList{"MySongList", "PlayStop"}));
}

TEST_F(Favourites, AddLocalFilesNamesThemFromTheirTagsOrTheirFileNames) {
    Write("A<|>\r\n");
    host.source = 0;
    QStringList chosen;
    ico.LocalMusic().ChooseFiles = [&chosen] { return chosen; };

    Choose("M_M_MySongRightS_BDF");  // cancelled
    EXPECT_EQ(File(), "A<|>\r\n");
    EXPECT_TRUE(host.calls.isEmpty());

    TempDir music;
    const auto untagged = music.Write("Artist-Title.mp3", test::MakeMp3(1));
    const auto dotted = music.Write("x.y.wav", test::MakeWav(2));
    const auto tagged = music.Write("01.flac", test::MakeFlac(1));
    ASSERT_TRUE(test::SetTags(tagged, {"晴天", "周杰伦", "", 1, ""}));
    const auto broken = music.Write("broken.flac", std::string(2048, '\x11'));
    const std::string m = music.path().string();
    chosen = {QString::fromStdString(untagged.string()), QString::fromStdString(dotted.string()),
              QString::fromStdString(tagged.string()), QString::fromStdString(broken.string()),
              QString::fromStdString(m + "/bad\nname.mp3")};
    Choose("M_M_MySongRightS_BDF");
    EXPECT_EQ(File(), "A<|>\r\nArtist ┈ Title<|>" + m + "/Artist-Title.mp3<|>1\r\nx<|>" + m + "/x.y.wav<|>2\r\n" +
                          "晴天 ┈ 周杰伦<|>" + m + "/01.flac<|>1\r\n");
    EXPECT_EQ(host.items, (QStringList{"A", "Artist ┈ Title", "x", "晴天 ┈ 周杰伦"}));  // shown at once
    ASSERT_EQ(messages.shown().size(), 1u);  // one message: the path with a line break, the broken file
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("1 个文件的路径")));
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("1 个文件无法读取")));

    // Chosen again (twice in one choice too): nothing is added twice.
    const std::string before = File();
    chosen = {QString::fromStdString(tagged.string()), QString::fromStdString(untagged.string()),
              QString::fromStdString(tagged.string())};
    Choose("M_M_MySongRightS_BDF");
    EXPECT_EQ(File(), before);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown()[1].text.contains(QStringLiteral("3 首歌曲已在收藏列表中")));
}

TEST_F(Favourites, UnavailableItemsAreShownButDoNothing) {
    Write("A<|>\r\n");
    for (const char* name : {"M_ReUrl", "M_M_MySongRightS_Clear"}) {
        QAction* item = ico.Item(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr) << name;
        EXPECT_FALSE(item->isEnabled()) << name;
        item->trigger();
    }
    EXPECT_EQ(File(), "A<|>\r\n");
    EXPECT_TRUE(host.calls.isEmpty());
}

// A rewrite that dies in the middle (a crash, or the disk filling up)
// leaves the old file whole.
TEST(FavouritesRewrite, InterruptedWriteLeavesTheOldFileWhole) {
    for (const char* mode : {"kill", "full"}) {
        TempDir dir;
        const std::string old = "老歌<|>\r\nB ┈ x<|>/m/b.mp3\r\n";
        const auto file = dir.Write("MySongList.txt", old);
        // The shell reports how the writer ended: 128 + the signal when killed.
        QProcess child;
        child.start(QStringLiteral("/bin/sh"),
                    {QStringLiteral("-c"), QStringLiteral("\"$0\" \"$@\"; echo $?"),
                     QStringLiteral(TAVO_BIN_DIR "/shell_fav_writer"), QString::fromStdString(file.string()),
                     QStringLiteral("4096"), QString::fromLatin1(mode), QStringLiteral("2000")});
        ASSERT_TRUE(child.waitForFinished(30000)) << mode;
        const int status = child.readAllStandardOutput().trimmed().toInt();
        // Killed for writing past the limit: the temporary file was half written.
        EXPECT_EQ(status, std::string(mode) == "kill" ? 128 + SIGXFSZ : 3) << mode;
        EXPECT_EQ(TempDir::Read(file), old) << mode;
        if (std::string(mode) == "full") {  // the failed write cleaned up after itself
            const QStringList files =
                QDir(QString::fromStdString(dir.path().string())).entryList(QDir::Files | QDir::Hidden);
            EXPECT_EQ(files, QStringList{"MySongList.txt"});
        }
    }
}

}  // namespace
}  // namespace tavo
