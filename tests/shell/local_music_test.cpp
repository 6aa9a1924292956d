// The favourites' local music commands through their menu items, on real
// files made for the test in a temporary folder: a folder added, playlists
// in and out, what the player is handed to open, files dropped on a window,
// and the setting that brings the last song back.
#include "app/resume_state.h"
#include "app/ui/import_progress.h"
#include "platform/settings_store.h"
#include "shell/drop_files.h"
#include "shell/ico_bar_s.h"
#include "shell/local_music_dialogs.h"

#include "fake_shell_host.h"
#include "support/core/test_media.h"
#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>

#include <algorithm>

namespace tavo {
namespace {

using test::FakeShellHost;
using test::TempDir;

QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

class LocalMusic : public ::testing::Test {
protected:
    void SetUp() override {
        host.source = 0;
        local().ChooseFolder = [this] { return folder; };
        local().ChoosePlaylist = [this] { return playlist; };
        local().ChooseExportFile = [this] { return exportTo; };
        local().PlayLink = [this](const QString& link) { played << link; };
    }
    LocalMusicCommands& local() { return ico.LocalMusic(); }
    void Choose(const char* item) { ico.Item(QString::fromLatin1(item))->trigger(); }
    std::string File() const { return TempDir::Read(dir / "MySongList.txt"); }
    std::filesystem::path Song(const char* rel, const std::string& bytes, const test::TestTags& tags) {
        const std::filesystem::path p = music.Write(rel, bytes);
        EXPECT_TRUE(test::SetTags(p, tags)) << rel;
        return p;
    }
    // Waits for a folder import to end.
    bool ImportEnds() {
        QSignalSpy done(&local(), &LocalMusicCommands::FoldersDone);
        return done.wait(20000);
    }
    QStringList Messages() const {
        QStringList texts;
        for (const auto& m : messages.shown()) texts << m.text;
        return texts;
    }

    TempDir dir;
    TempDir music;
    FakeShellHost host{dir / "MySongList.txt"};
    icoBarS ico{host};
    test::ScopedFakeMessageBox messages;
    QString folder;
    QString playlist;
    QString exportTo;
    QStringList played;
};

TEST_F(LocalMusic, AddFolderAppendsTaggedSongsInAlbumOrderOnceWithOneMessage) {
    Song("lib/B/2 second.flac", test::MakeFlac(1), {"Second", "Band", "", 2, ""});
    Song("lib/B/1 first.mp3", test::MakeMp3(3), {"First", "Band", "", 1, ""});
    const auto known = Song("lib/A/known.mp3", test::MakeMp3(1), {"Known", "", "", 0, ""});
    music.Write("lib/A/Artist-Title.wav", test::MakeWav(1));
    music.Write("lib/A/broken.flac", std::string(2048, '\x11'));
    music.Write("lib/A/cover.jpg", "not music");
    const std::string before = "老歌<|>\r\nKnown<|>" + known.string() + "\r\n";
    dir.Write("MySongList.txt", before);
    host.MySongList();
    host.calls.clear();
    folder = Q(music / "lib");

    Choose("M_M_MySongRightS_BDD");
    ASSERT_TRUE(ImportEnds());

    const std::string lib = (music / "lib").string();
    EXPECT_EQ(File(), before + "Artist ┈ Title<|>" + lib + "/A/Artist-Title.wav<|>1\r\n" +
                          "First ┈ Band<|>" + lib + "/B/1 first.mp3<|>3\r\n" +
                          "Second ┈ Band<|>" + lib + "/B/2 second.flac<|>1\r\n");
    // The view reloaded once, at the end.
    EXPECT_EQ(host.calls, QStringList{"MySongList"});
    EXPECT_EQ(host.items.size(), 5);
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages()[0], QStringLiteral("已添加 3 首歌曲；跳过：1 首已在收藏列表中，1 个文件无法读取。"));
    EXPECT_TRUE(played.isEmpty());
    EXPECT_EQ(local().Progress(), nullptr) << "the progress dialog closes with the import";

    // The same folder again adds nothing and says so.
    Choose("M_M_MySongRightS_BDD");
    ASSERT_TRUE(ImportEnds());
    EXPECT_EQ(Messages().value(1), QStringLiteral("已添加 0 首歌曲；跳过：4 首已在收藏列表中，1 个文件无法读取。"));
}

TEST_F(LocalMusic, AddFolderSkipsSongsAddedElsewhereWhileItRan) {
    const auto a = music.Write("a.wav", test::MakeWav(1));
    music.Write("b.wav", test::MakeWav(1));
    folder = Q(music.path());
    Choose("M_M_MySongRightS_BDD");
    // Another command adds a.wav before the scan's result arrives.
    dir.Write("MySongList.txt", "a<|>" + a.string() + "\r\n");
    ASSERT_TRUE(ImportEnds());
    EXPECT_EQ(File(), "a<|>" + a.string() + "\r\nb<|>" + (music / "b.wav").string() + "<|>1\r\n");
}

TEST_F(LocalMusic, CancelledFolderImportLeavesTheFavouritesAsTheyWere) {
    for (int i = 0; i < 20; ++i) music.Write("many/" + std::to_string(i) + ".wav", test::MakeWav(0.1));
    dir.Write("MySongList.txt", "A<|>\r\n");
    folder = Q(music / "many");
    Choose("M_M_MySongRightS_BDD");
    ImportProgressDialog* progress = local().Progress();
    ASSERT_NE(progress, nullptr);
    // The dialog's one button, as the user presses it.
    QPushButton* cancel = progress->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("取消"));
    cancel->click();
    ASSERT_TRUE(ImportEnds());
    EXPECT_EQ(File(), "A<|>\r\n");
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_EQ(Messages(), QStringList{"已取消添加本地文件夹，收藏列表没有改动。"});
}

TEST_F(LocalMusic, ChoosingNoFolderDoesNothing) {
    folder.clear();
    Choose("M_M_MySongRightS_BDD");
    QCoreApplication::processEvents();
    EXPECT_FALSE(std::filesystem::exists(dir / "MySongList.txt"));
    EXPECT_FALSE(local().Import().IsRunning());
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(LocalMusic, PlaylistImportAddsWhatItCanAndCountsTheRest) {
    const auto one = music.Write("lists/sub/one.mp3", test::MakeMp3(1));
    dir.Write("MySongList.txt", "One<|>" + one.string() + "\r\n");
    playlist = Q(music.Write("lists/mix.m3u8",
                             "#EXTM3U\n"
                             "#EXTINF:245,周杰伦 - 晴天\n"
                             "sub/qingtian.mp3\n"
                             "sub/one.mp3\n"                       // already a favourite
                             "ftp://old.example/x.mp3\n"           // a scheme that does not play
                             "#EXTINF:61,Radio One\n"
                             "http://radio.example/live?a=1\n"));
    for (const char* item : {"M_M_MySongRightS_Import", "M_MySongRight_Import"}) {
        ASSERT_NE(ico.Item(QString::fromLatin1(item)), nullptr) << item;
        EXPECT_EQ(ico.Item(QString::fromLatin1(item))->text(), QStringLiteral("导入播放列表…"));
    }
    Choose("M_M_MySongRightS_Import");
    const std::string lists = (music / "lists").string();
    EXPECT_EQ(File(), "One<|>" + one.string() + "\r\n" + "晴天 ┈ 周杰伦<|>" + lists + "/sub/qingtian.mp3<|>245\r\n" +
                          "Radio One<|>http://radio.example/live?a=1<|>61\r\n");
    EXPECT_EQ(Messages(), QStringList{"已导入 2 首歌曲；跳过：1 行无法识别，1 首已在收藏列表中。"});
    EXPECT_EQ(host.calls, QStringList{"MySongList"});
}

TEST_F(LocalMusic, PlaylistsThatCannotBeReadChangeNothing) {
    dir.Write("MySongList.txt", "A<|>\r\n");
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 131) & 0xFF));
    const struct {
        std::string name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"garbage.bin", garbage, "这个文件不是可以识别的播放列表（M3U、M3U8、PLS、XSPF）。"},
        {"missing.m3u", "", "找不到这个播放列表文件。"},
        {"binary.m3u", garbage, "已导入 0 首歌曲；跳过："},
    };
    for (const auto& c : cases) {
        playlist = Q(c.bytes.empty() ? music / c.name : music.Write(c.name, c.bytes));
        Choose("M_MySongRight_Import");
        ASSERT_FALSE(messages.shown().empty());
        EXPECT_TRUE(messages.shown().back().text.startsWith(QString::fromUtf8(c.message))) << c.name;
        EXPECT_EQ(File(), "A<|>\r\n") << c.name;
    }
}

TEST_F(LocalMusic, ExportWritesM3u8OrXspfThatImportsBackToTheSameSongs) {
    const std::string lines = "晴天 ┈ 周杰伦<|>/m/晴天.mp3<|>245\r\n"
                              "在线搜索的歌<|>\r\n"
                              "Radio<|>http://radio.example/s?a=1&b=2\r\n";
    dir.Write("MySongList.txt", lines);
    exportTo = Q(music / "out.m3u8");
    Choose("M_M_MySongRightS_Export");
    const std::string m3u = TempDir::Read(music / "out.m3u8");
    EXPECT_EQ(m3u.rfind("#EXTM3U", 0), 0u) << m3u;
    EXPECT_NE(m3u.find("#EXTINF:245,周杰伦 - 晴天"), std::string::npos) << m3u;
    EXPECT_EQ(m3u.find("在线搜索的歌"), std::string::npos) << "a song without a link cannot be exported";
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains(QStringLiteral("已导出 2 首歌曲")));
    EXPECT_TRUE(Messages()[0].contains(QStringLiteral("1 首在线搜索的歌曲")));

    exportTo = Q(music / "out.xspf");
    Choose("M_MySongRight_Export");
    const std::string xspf = TempDir::Read(music / "out.xspf");
    EXPECT_NE(xspf.find("<duration>245000</duration>"), std::string::npos) << xspf;
    EXPECT_NE(xspf.find("http://radio.example/s?a=1&amp;b=2"), std::string::npos) << xspf;

    // Each comes back as the same links and names.
    for (const char* file : {"out.m3u8", "out.xspf"}) {
        std::filesystem::remove(dir / "MySongList.txt");
        playlist = Q(music / file);
        Choose("M_MySongRight_Import");
        EXPECT_EQ(File(), "晴天 ┈ 周杰伦<|>/m/晴天.mp3<|>245\r\nRadio<|>http://radio.example/s?a=1&b=2\r\n") << file;
    }
}

TEST_F(LocalMusic, ExportSaysWhenNothingCanBeWritten) {
    dir.Write("MySongList.txt", "在线搜索的歌<|>\r\n");
    exportTo = Q(music / "never.m3u8");
    Choose("M_MySongRight_Export");
    EXPECT_FALSE(std::filesystem::exists(music / "never.m3u8"));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains(QStringLiteral("没有可以导出的歌曲")));

    dir.Write("MySongList.txt", "A<|>/m/a.mp3\r\n");
    exportTo = Q(music / "no such folder" / "out.m3u8");
    Choose("M_MySongRight_Export");
    ASSERT_EQ(Messages().size(), 2);
    EXPECT_TRUE(Messages()[1].startsWith(QStringLiteral("无法写入文件"))) << Messages()[1].toStdString();
}

TEST(LocalMusicDialogs, ExportNamesGetTheChosenFormatsExtension) {
    const struct {
        const char* in;
        bool xspf;
        const char* out;
    } cases[] = {
        {"/m/list", false, "/m/list.m3u8"},   {"/m/list", true, "/m/list.xspf"},
        {"/m/a.M3U8", true, "/m/a.M3U8"},     {"/m/a.xspf", false, "/m/a.xspf"},
        {"/m/a.m3u", false, "/m/a.m3u.m3u8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WithPlaylistExtension(QString::fromLatin1(c.in), c.xspf), QString::fromLatin1(c.out)) << c.in;
}

TEST_F(LocalMusic, OpenedItemsAreAddedAndTheFirstPlays) {
    const auto tagged = Song("open/晴天.mp3", test::MakeMp3(2), {"晴天", "周杰伦", "", 0, ""});
    music.Write("open/folder/x.wav", test::MakeWav(1));
    dir.Write("MySongList.txt", "A<|>\r\n");
    local().Open({Q(tagged), Q(music / "open/folder"), QStringLiteral("https://radio.example/live"),
                  Q(music / "open/gone.mp3")});
    // The file and the address at once, the folder after its scan.
    EXPECT_EQ(played, QStringList{Q(tagged)});
    ASSERT_TRUE(ImportEnds());
    EXPECT_EQ(File(), "A<|>\r\n晴天 ┈ 周杰伦<|>" + tagged.string() + "<|>2\r\n" +
                          "https://radio.example/live<|>https://radio.example/live\r\n" + "x<|>" +
                          (music / "open/folder/x.wav").string() + "<|>1\r\n");
    EXPECT_EQ(played, QStringList{Q(tagged)}) << "only the first item plays";
    EXPECT_TRUE(Messages().contains(QStringLiteral("有 1 项无法打开（不存在、不是音乐文件、无法读取或路径无法收藏）。")));

    // Opened again: nothing added twice, and the first plays again.
    local().Open({Q(tagged)});
    EXPECT_EQ(played, (QStringList{Q(tagged), Q(tagged)}));
    const std::string file = File();
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 4);
}

TEST_F(LocalMusic, AFolderOpenedFirstPlaysItsFirstSong) {
    music.Write("f/2.wav", test::MakeWav(1));
    music.Write("f/1.wav", test::MakeWav(1));
    local().Open({Q(music / "f")});
    EXPECT_TRUE(played.isEmpty());
    ASSERT_TRUE(ImportEnds());
    EXPECT_EQ(played, QStringList{Q(music / "f/1.wav")});

    // Opened again: nothing new to add, and its first song still plays.
    const std::string before = File();
    local().Open({Q(music / "f")});
    ASSERT_TRUE(ImportEnds());
    EXPECT_EQ(File(), before);
    EXPECT_EQ(played, (QStringList{Q(music / "f/1.wav"), Q(music / "f/1.wav")}));
}

TEST(DroppedFiles, LocalPathsAndPlayableAddressesOnly) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/m/晴天 a.mp3")), QUrl(QStringLiteral("https://radio.example/s?a=1")),
                  QUrl(QStringLiteral("ftp://old.example/x.mp3")), QUrl(QStringLiteral("javascript:alert(1)")),
                  QUrl::fromLocalFile(QStringLiteral("/m/folder"))});
    EXPECT_EQ(DroppedItems(data),
              (QStringList{"/m/晴天 a.mp3", "https://radio.example/s?a=1", "/m/folder"}));
    QMimeData text;
    text.setText(QStringLiteral("/m/a.mp3"));
    EXPECT_TRUE(DroppedItems(text).isEmpty());
}

TEST(DroppedFiles, ADropOnTheWindowOpensItsItemsOnce) {
    QWidget window;
    QList<QStringList> opened;
    DropFiles drops(window, [&](const QStringList& items) { opened.append(items); });
    EXPECT_TRUE(window.acceptDrops());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/m/a.mp3"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    EXPECT_TRUE(opened.isEmpty()) << "opened after the drop has ended";
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, QList<QStringList>{QStringList{"/m/a.mp3"}});

    QMimeData nothing;
    nothing.setText(QStringLiteral("words"));
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &nothing, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(LocalMusic, RememberTheLastSongIsOnByDefaultAndToggles) {
    platform::Settings().SaveSetting(QStringLiteral("Tavo音乐盒2010"), QStringLiteral("Config"),
                                     QStringLiteral("isResume"), QString());
    ico.SetTrayChecks(false, false);
    QAction* item = ico.Item(QStringLiteral("M_Resume"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("记住上次播放"));
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(ResumeEnabled());
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(ResumeEnabled());
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(ResumeEnabled());
}

}  // namespace
}  // namespace tavo
