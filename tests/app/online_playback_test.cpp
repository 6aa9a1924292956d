// What the open services change in playing: lyrics through the lyrics order
// (a local song's own file first), a stream's own title as the song text, a
// station from the directory played at once, the station list read again
// after a station was added.
#include "app_fixture.h"
#include "app/now_playing.h"
#include "app/player_mpris.h"
#include "app/station_audition.h"
#include "platform/core/mpris_service.h"
#include "../sources/print_qstring.h"

namespace tavo {
namespace {

using platform::kPlayPlaying;
using test::WaitFor;

class OnlinePlayTest : public test::CoreTest {
protected:
    void StartOn(const char* listIndex) {
        SetConfig("isPlayListIndex", listIndex);
        ASSERT_TRUE(core->Form_Load());
    }
};

// A favourite that is a file on this machine: its lyric file beside it
// answers (the lyric file's offset applied), and the line follows the play
// position in both labels.
TEST_F(OnlinePlayTest, ALocalSongShowsTheLyricFileBesideIt) {
    const auto song = folder() / "music" / "晴天.mp3";
    WriteFile("music/晴天.mp3", "audio");
    WriteFile("music/晴天.lrc", "[offset:+1000]\r\n[00:05.00]故事的小黄花\r\n[00:09.00]从出生那年就飘着\r\n");
    WriteFavourites("晴天 \xe2\x94\x88 周杰伦<|>" + song.string() + "\r\n");
    StartOn("1");
    ClickRow(0);
    ASSERT_TRUE(WaitFor([&] { return core->lyricLines.Count() == 2; }));
    EXPECT_EQ(player.url, QString::fromStdString(song.string()));
    EXPECT_EQ(core->songLyrics.Origin(), LyricsOrigin::kLocal);
    EXPECT_EQ(core->lyricLines.Lines(), (QStringList{"[00:04.00]故事的小黄花", "[00:08.00]从出生那年就飘着"}));
    player.duration = 200;
    player.position = 4.1;
    Tick(kPlayPlaying);
    EXPECT_EQ(core->ui.Label6, QStringLiteral("故事的小黄花"));
    EXPECT_EQ(lrc.label, QStringLiteral("故事的小黄花"));
}

struct TitleCase {
    const char* announced;
    const char* shown;  // the song text
    const char* title;  // the media controls' title and artist
    const char* artist;
};

TEST(NowPlaying, TheStreamsTitleStandsForTheSong) {
    const TitleCase cases[] = {
        {"", "Station", "Station", nullptr},
        {"  ", "Station", "Station", nullptr},
        {"周杰伦 - 晴天", "周杰伦 - 晴天", "晴天", "周杰伦"},
        {"News at nine", "News at nine", "News at nine", nullptr},
        {" - only a title", "- only a title", "- only a title", nullptr},
        {"Artist - ", "Artist -", "Artist -", nullptr},
        {"A - B - C", "A - B - C", "B - C", "A"},
    };
    for (const auto& c : cases) {
        const QString announced = QString::fromUtf8(c.announced);
        EXPECT_EQ(NowPlayingText(QStringLiteral("Station"), announced), QString::fromUtf8(c.shown)) << c.announced;
        QString title;
        QStringList artists{QStringLiteral("stale")};
        SplitStreamTitle(NowPlayingText(QStringLiteral("Station"), announced), &title, &artists);
        EXPECT_EQ(title, QString::fromUtf8(c.title)) << c.announced;
        EXPECT_EQ(artists, c.artist ? QStringList{QString::fromUtf8(c.artist)} : QStringList{}) << c.announced;
    }
}

// A station's own title shows in the song label, on the lyrics window and
// as the media controls' title while the stream says so; a new station
// starts from its listed name.
TEST_F(OnlinePlayTest, AStreamsOwnTitleIsTheSongTextWhileItLasts) {
    WriteFile("radio.txt", "Hit FM<|>http://radio/hit\r\nNews<|>http://radio/news\r\n");
    StartOn("1");
    Choose(1);
    PlayerMpris target(*core, {});
    platform::MprisService service(target, QStringLiteral("t"), QStringLiteral("t"));
    target.Watch(service);
    ClickRow(0);
    Tick(kPlayPlaying);
    EXPECT_EQ(core->ui.Label6, QStringLiteral(" 正在播放：Hit FM"));
    EXPECT_EQ(target.Track().title, QStringLiteral("Hit FM"));

    player.Announce(QStringLiteral("周杰伦 - 晴天"), QStringLiteral("Hit FM Taipei"));
    EXPECT_EQ(target.Track().title, QStringLiteral("晴天"));
    EXPECT_EQ(target.Track().artists, QStringList{QStringLiteral("周杰伦")});
    Tick(kPlayPlaying);
    EXPECT_EQ(core->ui.Label6, QStringLiteral(" 正在播放：周杰伦 - 晴天"));
    EXPECT_EQ(lrc.label, QStringLiteral(" 正在播放：周杰伦 - 晴天"));

    player.Announce(QStringLiteral("广告时间"), QStringLiteral("Hit FM Taipei"));
    Tick(kPlayPlaying);
    EXPECT_EQ(lrc.label, QStringLiteral(" 正在播放：广告时间"));
    EXPECT_EQ(target.Track().title, QStringLiteral("广告时间"));

    ClickRow(1);
    Tick(kPlayPlaying);
    EXPECT_EQ(core->ui.Label6, QStringLiteral(" 正在播放：News"));
    EXPECT_EQ(target.Track().title, QStringLiteral("News"));
}

// "试听": the station plays at once, as no row of any list; no lyrics are
// looked for; an address the player may not open is refused.
TEST_F(OnlinePlayTest, ADirectoryStationPlaysAtOnceOutsideTheLists) {
    WriteFile("radio.txt", "A<|>http://radio/a\r\n");
    StartOn("1");
    Choose(1);
    ClickRow(0);
    ASSERT_EQ(player.url, QStringLiteral("http://radio/a"));

    PlayStationNow(*core, QStringLiteral("目录电台"), QStringLiteral("https://stream.example/live"));
    EXPECT_EQ(player.url, QStringLiteral("https://stream.example/live"));
    EXPECT_EQ(core->playback.PlayingName(), QStringLiteral("目录电台"));
    EXPECT_EQ(core->playback.Status(), PlaybackStatus::Playing);
    EXPECT_EQ(core->ui.playingRow, -1) << "no row of the station list is this station";
    EXPECT_NE(core->songLyrics.SongTag(), core->playback.SongTag()) << "stations have no lyrics";
    EXPECT_EQ(core->ListItems.value(0), QStringLiteral("A")) << "the viewed list is left alone";

    const int opened = static_cast<int>(player.urls.size());
    PlayStationNow(*core, QStringLiteral("坏"), QStringLiteral("file:///etc/passwd"));
    EXPECT_EQ(player.urls.size(), opened);
    EXPECT_EQ(core->ui.Label6, QStringLiteral("无法播放这个地址"));
}

// A station added to "radio.txt" shows at once when the station list is the
// one shown, without starting anything; another list is left alone.
TEST_F(OnlinePlayTest, AnAddedStationShowsInTheStationListShown) {
    WriteFile("radio.txt", "A<|>http://radio/a\r\n");
    WriteFavourites("Song0<|>\r\n");
    StartOn("1");
    Choose(0);
    const QStringList favourites = core->ListItems;
    WriteFile("radio.txt", "A<|>http://radio/a\r\nB<|>http://radio/b\r\n");
    StationListChanged(*core);
    EXPECT_EQ(core->ListItems, favourites);

    Choose(1);
    WriteFile("radio.txt", "A<|>http://radio/a\r\nB<|>http://radio/b\r\nC<|>http://radio/c\r\n");
    core->AutoPlay = true;
    const int opened = static_cast<int>(player.urls.size());
    StationListChanged(*core);
    EXPECT_EQ(core->ListItems.mid(0, 3), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(player.urls.size(), opened) << "reading the list again plays nothing";
    EXPECT_TRUE(core->AutoPlay);
}

}  // namespace
}  // namespace tavo
