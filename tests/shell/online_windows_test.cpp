// The open services' commands: where the menus offer them, and the windows
// they open wired to the player (a station from the directory plays at
// once and is counted once, an added station lands in "radio.txt", a lyric
// picked in the search shows at once), against a fake directory and a fake
// lyrics library on 127.0.0.1.
#include "shell/online_windows.h"

#include "app/player_core.h"
#include "fake_shell_host.h"
#include "lyrics/ui/lyrics_search_dialog.h"
#include "shell/ico_bar_s.h"
#include "sources/core/radio_directory.h"
#include "sources/services.h"
#include "sources/ui/radio_directory_window.h"
#include "support/core/fake_media_player.h"
#include "support/event_loop.h"
#include "support/fake_lyrics_library.h"
#include "support/fake_message_box.h"
#include "support/fake_radio_directory.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTcpServer>
#include <QTreeWidget>

namespace tavo {
namespace {

using test::WaitFor;

// ---------------------------------------------------------------- menus

class OnlineMenus : public ::testing::Test {
protected:
    QAction* Item(const char* name) { return ico.Item(QString::fromLatin1(name)); }

    test::TempDir dir;
    test::FakeShellHost host{dir / "MySongList.txt"};
    icoBarS ico{host};
};

TEST_F(OnlineMenus, TheLyricsSearchIsOfferedFromTheLyricsWindowOnly) {
    const struct {
        icoBarS::SetMenuFrom from;
        bool lyricsSearch;
    } cases[] = {{icoBarS::SetMenuFrom::Tray, false},
                 {icoBarS::SetMenuFrom::SettingsButton, false},
                 {icoBarS::SetMenuFrom::LyricsWindow, true}};
    for (const auto& c : cases) {
        ico.PrepareSetMenu(c.from);
        EXPECT_EQ(Item("M_Lrc_Search")->isVisible(), c.lyricsSearch) << static_cast<int>(c.from);
        EXPECT_TRUE(Item("M_RadioDirectory")->isVisible()) << static_cast<int>(c.from);
    }
}

TEST_F(OnlineMenus, EachItemCallsItsCommandAndNothingWhileUnset) {
    for (const char* name : {"M_Lrc_Search", "M_RadioDirectory", "M_RadioRight_Directory"}) Item(name)->trigger();
    int lyrics = 0, directory = 0;
    ico.SearchLyrics = [&] { ++lyrics; };
    ico.OpenRadioDirectory = [&] { ++directory; };
    Item("M_Lrc_Search")->trigger();
    Item("M_RadioDirectory")->trigger();
    Item("M_RadioRight_Directory")->trigger();
    EXPECT_EQ(lyrics, 1);
    EXPECT_EQ(directory, 2);
}

TEST_F(OnlineMenus, TheStationListHasItsOwnRightClickMenu) {
    ico.PopupListMenu(QStringLiteral("M_RadioRight"), QPoint(10, 10));
    QMenu* menu = ico.Menu(QStringLiteral("M_RadioRight"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(menu->actions().contains(Item("M_RadioRight_Directory")));
    menu->hide();
}

// ---------------------------------------------------------------- windows

QString ClosedBase() {
    QTcpServer s;
    if (!s.listen(QHostAddress::LocalHost)) return {};
    return QStringLiteral("http://127.0.0.1:%1").arg(s.serverPort());
}

class OnlineWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A server list kept by another test names another fake.
        std::error_code ec;
        std::filesystem::remove(RadioDirectory::DefaultServerListFile(), ec);
        folder.dir().Write("radio.txt", "演示电台<|>http://127.0.0.1:17380/radio/morning.wav\r\n");
    }
    void TearDown() override { ResetServices(); }

    void Serve(const QString& directoryBase) {
        ServiceHosts hosts = LocalServiceHosts(closedPort);
        hosts.radioDirectory = directoryBase;
        hosts.lyricsLibrary = library.Base();
        SetServices(hosts);
        core = std::make_unique<PlayerCore>(player);
        windows = std::make_unique<OnlineWindows>(*core, nullptr);
    }
    RadioDirectoryWindow* OpenDirectory() {
        windows->ShowDirectory();
        RadioDirectoryWindow* w = windows->Directory();
        EXPECT_NE(w, nullptr);
        if (w) {
            EXPECT_TRUE(WaitFor([w] { return !w->Rows().empty(); }, 5000)) << w->Status()->text().toStdString();
        }
        return w;
    }
    std::string RadioFileText() const { return test::TempDir::Read(folder.path() / "radio.txt"); }

    test::ScopedProgramFolder folder;
    test::ScopedFakeMessageBox messages;
    test::FakeRadioDirectory directory{30};
    test::FakeLyricsLibrary library;
    int closedPort = QUrl(ClosedBase()).port();
    test::FakeMediaPlayer player;
    std::unique_ptr<PlayerCore> core;
    std::unique_ptr<OnlineWindows> windows;
};

TEST_F(OnlineWindowsTest, AStationFromTheDirectoryPlaysAtOnceIsCountedOnceAndCanBeAdded) {
    Serve(directory.Base());
    RadioDirectoryWindow* w = OpenDirectory();
    ASSERT_TRUE(w && !w->ShowingStationList());
    EXPECT_TRUE(w->isVisible());
    const RadioDirectoryWindow::Row row = w->Rows().front();
    w->Listen();
    EXPECT_EQ(player.url, row.address);
    EXPECT_EQ(core->playback.PlayingName(), row.name);
    const std::string uuid = row.stationuuid.toStdString();
    ASSERT_TRUE(WaitFor([&] { return directory.Clicks(uuid) == 1; }, 5000));
    test::Pump(200);
    EXPECT_EQ(directory.Clicks(uuid), 1);

    windows->ShowDirectory();
    EXPECT_EQ(windows->Directory(), w) << "one directory window";

    // Added, it lands in the program's station file.
    ASSERT_TRUE(w->AddSelected());
    EXPECT_EQ(RadioFileText(), "演示电台<|>http://127.0.0.1:17380/radio/morning.wav\r\n" + row.name.toStdString() +
                                   "<|>" + row.address.toStdString() + "\r\n");
}

TEST_F(OnlineWindowsTest, TheLyricsSearchIsForTheSongThatPlays) {
    library.Add({"后来", "刘若英", "我的歌声里", 341, false, "", "[00:20.00]后来"});
    library.Add({"后来", "刘若英", "Live", 300, false, "", "[00:21.00]后来 (Live)"});
    Serve(ClosedBase());
    windows->ShowLyricsSearch();
    EXPECT_EQ(windows->LyricsSearch(), nullptr);
    ASSERT_EQ(messages.shown().size(), 1u) << "nothing plays: it says so";

    PlayList list;
    list.entries = {QStringLiteral("后来 ┈ 刘若英")};
    list.links = {QStringLiteral("http://127.0.0.1:9/song.mp3")};
    list.source = 2;
    core->playback.PlayNewBatch(list);
    ASSERT_TRUE(WaitFor([&] { return core->lyricLines.Count() == 1; }, 5000));
    windows->ShowLyricsSearch();
    LyricsSearchDialog* d = windows->LyricsSearch();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(WaitFor([&] { return d->Results()->topLevelItemCount() == 2; }, 5000));
    d->Results()->setCurrentItem(d->Results()->topLevelItem(1));
    ASSERT_TRUE(d->UseSelected());
    EXPECT_EQ(core->lyricLines.Lines(), QStringList{"[00:21.00]后来 (Live)"}) << "shown at once";

    core->PlayStop();
    core->playback.PlayNewBatch(list);
    ASSERT_TRUE(WaitFor([&] { return core->songLyrics.Origin() == LyricsOrigin::kChoice; }, 5000));
    EXPECT_EQ(core->lyricLines.Lines(), QStringList{"[00:21.00]后来 (Live)"}) << "and remembered";
}

}  // namespace
}  // namespace tavo
