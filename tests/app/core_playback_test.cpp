// Finding a song's addresses and playing them: the search, the candidates,
// the buttons and the watch loop.
#include "app_fixture.h"
#include "app/player_mpris.h"
#include "platform/core/mpris_service.h"
#include "../sources/print_qstring.h"
#include "sources/text_codecs.h"
#include "support/core/fake_net.h"

#include <QRegularExpression>

namespace tavo {
namespace {

using platform::kPlayPlaying;
using platform::kPlayReady;
using platform::kPlayStopped;
using platform::kPlayWaiting;
using test::Song;
using test::WaitFor;

class PlayTest : public test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        Links("Title1", "Singer1", {"http://a/1a.mp3", "http://a/1b.mp3"});
        Links("Title2", "Singer2", {"http://a/2.mp3"});
        Links("Title3", "Singer3", {"http://a/3.mp3"});
    }
    // Starts on the feed (or, with a FakeNet, on the favourites).
    void Start(const char* listIndex = "4") {
        SetConfig("isPlayListIndex", listIndex);
        ASSERT_TRUE(Load());
        if (std::string(listIndex) == "4") Choose(3);
    }
    QByteArray Reply(const std::vector<std::string>& urls) {
        return QByteArray::fromStdString(test::SearchBody("jsonp1", urls));
    }
};

TEST(SearchRequest, QueryAndCallback) {
    QString plain = QStringLiteral("A+B+C+D"), chinese = QStringLiteral("歌 名+歌手");
    EXPECT_EQ(LinkResolver::SearchQuery(Song("A", "B-C_D")), UrlEncodeUtf8(plain));
    EXPECT_EQ(LinkResolver::SearchQuery(Song("歌 名", "歌手")), UrlEncodeUtf8(chinese));
    const QRegularExpression shape(QStringLiteral("^http://h/api/links\\?query=A%2BB&jsoncallback=jsonp1\\d{12}$"));
    const QString a = LinkResolver::SearchAddress("http://h", Song("A", "B"));
    const QString b = LinkResolver::SearchAddress("http://h", Song("A", "B"));
    EXPECT_TRUE(shape.match(a).hasMatch()) << a.toStdString();
    EXPECT_TRUE(shape.match(b).hasMatch()) << b.toStdString();
    EXPECT_NE(a, b) << "two searches for one song use different suffixes";
}

TEST(Addresses, WhatThePlayerMayOpen) {
    using O = AddressOrigin;
    const struct {
        const char* address;
        bool network, radioFile, favourites;
    } cases[] = {
        // The web rules themselves: PlayableNetworkAddress.
        {"http://a/b.mp3", true, true, true},
        {"mms://radio/live", false, true, false},
        {"/home/u/歌 曲.mp3", false, false, true},
        {"file:///etc/passwd", false, false, true},
        {"av://lavfi:sine", false, false, false},
        {"", false, false, false},
    };
    for (const auto& c : cases) {
        const QString a = QString::fromUtf8(c.address);
        EXPECT_EQ(MayPlay(a, O::Network), c.network) << c.address;
        EXPECT_EQ(MayPlay(a, O::RadioFile), c.radioFile) << c.address;
        EXPECT_EQ(MayPlay(a, O::Favourites), c.favourites) << c.address;
    }
}

TEST_F(PlayTest, CandidatesInReplyOrderWithTheStoredLinkFirst) {
    {
        std::lock_guard lock(web.mu_);
        web.links["Song0"] = {"http://a/1.mp3", "file:///etc/passwd", "/etc/passwd", "http://a/2.mp3"};
        web.links["Song1"] = {"http://b/1.mp3", "http://b/2.mp3"};
    }
    WriteFavourites("Song0<|>\r\nSong1<|>/local/song1.mp3\r\n");
    Start("1");
    bool noLocalLinkSaid = false;
    QObject::connect(&core->links, &LinkResolver::Status,
                     [&](const QString& t) { noLocalLinkSaid |= t == QStringLiteral("本地无歌曲链接，使用网络链接..."); });
    ClickRow(0);
    EXPECT_EQ(core->ui.Label6, QStringLiteral(" 正在获取链接..."));
    EXPECT_EQ(lrc.label, QStringLiteral(" 正在获取链接..."));
    ASSERT_TRUE(WaitUrl(1));
    EXPECT_TRUE(noLocalLinkSaid);
    // Local files never come from the network.
    EXPECT_EQ(core->links.LinkCandidates, (QStringList{"http://a/1.mp3", "http://a/2.mp3"}));
    EXPECT_EQ(player.url, QStringLiteral("http://a/1.mp3"));
    EXPECT_FALSE(std::filesystem::exists(folder() / "YQ.txt"));

    ClickRow(1);
    ASSERT_TRUE(WaitUrl(2));
    EXPECT_EQ(core->links.LinkCandidates, (QStringList{"/local/song1.mp3", "http://b/1.mp3", "http://b/2.mp3"}));
    EXPECT_EQ(player.url, QStringLiteral("/local/song1.mp3"));
    EXPECT_EQ(web.Queries(), (std::vector<std::string>{"Song0", "Song1"}));
}

TEST_F(PlayTest, SearchThatCannotStartIsRetriedThreeTimesThenMovesOn) {
    ServiceHosts hosts = Services();
    hosts.songSearch = QStringLiteral("ftp://127.0.0.1");  // the request can never start
    SetServices(hosts);
    Start();
    ClickRow(0);
    EXPECT_EQ(core->ui.Label6, QStringLiteral("无法获取歌曲链接。"));
    EXPECT_EQ(core->links.SearchRetries(), 1);
    // The next song starts its own count.
    ASSERT_TRUE(WaitFor([&] { return core->PlayIndex == 1 && core->links.SearchRetries() == 1; }, 3000));
    EXPECT_TRUE(player.urls.isEmpty());
    // A stored link of a favourite plays although the search failed.
    WriteFavourites("Song0<|>/local/a.mp3\r\n");
    Choose(0);
    ClickRow(0);
    ASSERT_TRUE(WaitUrl(1));
    EXPECT_EQ(player.url, QStringLiteral("/local/a.mp3"));
    EXPECT_EQ(core->links.SearchRetries(), 0);
}

// Stop and every new song drop the search in flight and its retry: a late
// reply or retry never starts or skips a song.
TEST_F(PlayTest, StopAndANewSongDropThePendingSearch) {
    test::FakeNet net;
    WriteFavourites("Song0<|>\r\nSong1<|>\r\n");
    WriteFile("radio.txt", "Station<|>http://radio/a\r\n");
    Start("1");
    ClickRow(0);
    ASSERT_EQ(net.Count(), 1);
    const QPointer<test::FakeReader> pending = net.Latest("/api/links");
    core->PlayS_Click(1);
    EXPECT_FALSE(core->links.Pending());
    ASSERT_TRUE(pending);
    pending->Reply(Reply({"http://late/0.mp3"}));
    EXPECT_TRUE(player.urls.isEmpty());

    // A failed search waits for its retry; a station is clicked meanwhile.
    ClickRow(1);
    net.Latest("/api/links")->Fail(QStringLiteral("refused"));
    ASSERT_TRUE(core->links.Pending());
    Choose(1);
    ClickRow(0);
    EXPECT_FALSE(core->links.Pending());
    EXPECT_FALSE(WaitFor([&] { return net.Count() > 2; }, 10 * core->links.SearchRetryMs));
    EXPECT_EQ(player.urls, QStringList{"http://radio/a"});
    EXPECT_EQ(core->PlayIndex, 0);
}

// While a song is searched for, the player still holds the song before:
// Play waits for the search instead of replaying that address, Pause holds
// through the reply, and Stop drops the lyrics fetch of the stopped song.
TEST_F(PlayTest, PlayAndPauseDuringASearchActOnTheSongSearchedFor) {
    test::FakeNet net;
    WriteFavourites("Song0<|>\r\nSong1<|>\r\n");
    Start("1");
    ClickRow(0);
    net.Latest("/api/links")->Reply(Reply({"http://a/0.mp3"}));
    ASSERT_EQ(player.urls, QStringList{"http://a/0.mp3"});
    player.SetState(kPlayPlaying);

    for (const bool pauseFirst : {false, true}) {
        SCOPED_TRACE(pauseFirst ? "pause, then the reply" : "play, then the reply");
        ClickRow(1);
        ASSERT_TRUE(core->links.Pending());
        const int plays = player.plays;
        if (pauseFirst) core->PlayS_Click(4);
        core->PlayS_Click(0);
        if (pauseFirst) core->PlayS_Click(4);  // Play, then Pause again: paused it is
        EXPECT_EQ(player.plays, plays) << "the song before is not played again";
        net.Latest("/api/links")->Reply(Reply({"http://a/1.mp3"}));
        EXPECT_EQ(player.url, QStringLiteral("http://a/1.mp3"));
        EXPECT_EQ(core->playback.Status(), pauseFirst ? PlaybackStatus::Paused : PlaybackStatus::Playing);
        EXPECT_EQ(player.state, pauseFirst ? platform::kPlayPaused : platform::kPlayTransitioning);
        ClickRow(0);
        net.Latest("/api/links")->Reply(Reply({"http://a/0.mp3"}));
    }

    ASSERT_TRUE(core->songLyrics.Finding());
    core->PlayS_Click(1);
    EXPECT_FALSE(core->songLyrics.Finding()) << "Stop drops the lyrics search";
}

// The playing song's lyrics reach the model and both labels; a song
// without lyrics says so on the lyrics window and keeps the song label.
TEST_F(PlayTest, TheLyricsFetchOfTheSongPlayingShowsItsOutcome) {
    test::FakeNet net;
    WriteFavourites("Song0<|>\r\nSong1<|>\r\n");
    Start("1");
    const QString lyricsPath = QStringLiteral("fcg_download_lrc");
    ClickRow(0);
    net.Latest("/api/links")->Reply(Reply({"http://a/0.mp3"}));
    ASSERT_TRUE(core->songLyrics.Finding());
    ASSERT_TRUE(WaitFor([&] { return net.Latest(lyricsPath) != nullptr; }));
    net.Latest(lyricsPath)->Reply("<![CDATA[[00:01.00]one\n[00:02.00]two]]>");
    EXPECT_EQ(core->lyricLines.Count(), 2);
    EXPECT_EQ(core->ui.Label6, QStringLiteral("正在播放：Song0"));
    EXPECT_EQ(lrc.label, QStringLiteral("正在播放：Song0"));

    ClickRow(1);
    net.Latest("/api/links")->Reply(Reply({"http://a/1.mp3"}));
    EXPECT_TRUE(core->lyricLines.IsEmpty()) << "the song before's lines go with it";
    const QString label6 = core->ui.Label6;
    ASSERT_TRUE(WaitFor([&] { return net.Latest("song=Song1") != nullptr; }));
    net.Latest(lyricsPath)->Fail(QStringLiteral("HTTP 404"));
    // Then the lyrics library, which has nothing either.
    EXPECT_TRUE(WaitFor([&] {
        for (const char* path : {"/api/get", "/api/search"})
            if (test::FakeReader* r = net.Latest(QString::fromLatin1(path)); r && r->Running())
                r->Fail(QStringLiteral("HTTP 404"));
        return lrc.label == QStringLiteral("没有找到“Song1”的歌词");
    }));
    EXPECT_EQ(core->ui.Label6, label6);
}

// The media controls' cover is the one of the address the player opened for
// the current song: never the song before's, which the player still holds
// while the next song is searched for.
TEST_F(PlayTest, TheCoverShownIsTheCurrentSongsOwn) {
    test::FakeNet net;
    WriteFile("radio.txt", "A<|>http://radio/a\r\nB<|>http://radio/b\r\n");
    WriteFavourites("Song0<|>\r\n");
    Start("1");
    PlayerMpris target(*core, {});
    QStringList asked;
    target.SetCoverSource([&](const QString& url) {
        asked << url;
        return "cover of " + url;
    });
    platform::MprisService service(target, QStringLiteral("t"), QStringLiteral("t"));
    target.Watch(service);

    Choose(1);
    ClickRow(0);
    ClickRow(1);
    EXPECT_EQ(asked, (QStringList{"http://radio/a", "http://radio/b"}));
    EXPECT_EQ(target.Track().artUrl, QStringLiteral("cover of http://radio/b"));

    Choose(0);
    ClickRow(0);
    ASSERT_TRUE(core->links.Pending());
    EXPECT_TRUE(target.Track().artUrl.isEmpty()) << "no cover while the song is searched for";
    net.Latest("/api/links")->Reply(Reply({"http://a/0.mp3"}));
    EXPECT_EQ(target.Track().artUrl, QStringLiteral("cover of http://a/0.mp3"));
    core->PlayS_Click(1);
    EXPECT_TRUE(target.Track().artUrl.isEmpty());
}

// A list none of whose songs can be found is searched once through, with
// the failing requests spaced, then playback waits for the user.
TEST_F(PlayTest, AListWithNothingToPlayStopsAfterOnePass) {
    test::FakeNet net;
    core->links.FailGapMs = 150;
    Start("1");
    for (const int songs : {1, 2}) {
        WriteFavourites(Fav(songs));
        Choose(0);
        const int before = net.Count();
        ClickRow(0);
        QElapsedTimer sinceFailure;
        for (int i = 0; i < songs; ++i) {
            ASSERT_TRUE(WaitFor([&] { return net.Count() == before + i + 1; }, 2000)) << songs;
            if (i > 0) {
                EXPECT_GE(sinceFailure.elapsed(), 140) << "failing requests are spaced";
            }
            net.Latest("/api/links")->Reply(Reply({}));
            sinceFailure.start();
        }
        EXPECT_FALSE(core->links.Pending()) << songs;
        EXPECT_EQ(net.Count(), before + songs);
        EXPECT_EQ(core->ui.Label6, QStringLiteral("列表中没有可播放的歌曲"));
        EXPECT_FALSE(core->playback.PlayTime.isActive());
    }
    EXPECT_TRUE(player.urls.isEmpty());
}

TEST_F(PlayTest, StartingASong) {
    Start();
    std::vector<PlaybackStatus> statuses;
    QStringList songs;
    QObject::connect(&core->playback, &Playback::PlaybackStatusChanged, [&](PlaybackStatus s) { statuses.push_back(s); });
    QObject::connect(&core->playback, &Playback::CurrentSongChanged, [&](const QString& s) { songs.append(s); });
    ClickRow(0);
    ASSERT_TRUE(WaitUrl(1));
    EXPECT_EQ(core->PlaySource, 3);
    EXPECT_EQ(core->playback.play.entries,
              (QStringList{Song("Title1", "Singer1"), Song("Title2", "Singer2"), Song("Title3", "Singer3")}));
    EXPECT_TRUE(core->playback.PlayTime.isActive());
    EXPECT_EQ(core->songLyrics.SongTag(), core->playback.SongTag()) << "the lyrics are fetched for this song";
    EXPECT_TRUE(lrc.playGlyph);
    EXPECT_FALSE(core->ui.PlaySVisible[0]);
    EXPECT_EQ(core->ui.Label6ToolTip, QStringLiteral("正在播放：") + Song("Title1", "Singer1"));
    EXPECT_EQ(lrc.toolTip, core->ui.Label6ToolTip);
    EXPECT_EQ(core->ui.playingRow, 0);
    EXPECT_EQ(songs, QStringList{Song("Title1", "Singer1")});
    EXPECT_EQ(statuses, std::vector<PlaybackStatus>{PlaybackStatus::Playing});
    EXPECT_EQ(core->playback.PlayingName(), Song("Title1", "Singer1"));
    core->PlayS_Click(4);
    core->PlayS_Click(1);
    EXPECT_EQ(statuses, (std::vector<PlaybackStatus>{PlaybackStatus::Playing, PlaybackStatus::Paused,
                                                     PlaybackStatus::Stopped}));
}

TEST_F(PlayTest, WatchLoopShowsTimeProgressAndLyrics) {
    Start();
    ClickRow(0);
    ASSERT_TRUE(WaitUrl(1));
    player.duration = 200;
    player.position = 5.5;
    Tick(kPlayPlaying);
    EXPECT_EQ(core->ui.socl, QStringLiteral(" 00:05 / 03:20  "));
    EXPECT_TRUE(core->ui.progressShown);
    EXPECT_DOUBLE_EQ(core->ui.position, 5.5);
    EXPECT_DOUBLE_EQ(core->ui.length, 200);
    EXPECT_EQ(core->ui.Label6, QStringLiteral(" 正在播放：") + Song("Title1", "Singer1"));

    core->lyricLines.SetLines({"[ti:x]", "[01:22.90]A", "[01:23.40] B ", "[01:30.00]", "[00:10.00][01:40.00]Chorus"});
    const struct {
        double at;
        const char* shown;
    } steps[] = {
        {83.2, "B"},      // the first line containing 01:23
        {84.0, "B"},      // no line for 01:24: the line stays
        {90.1, nullptr},  // a tag-only line: the playing text
    };
    for (const auto& s : steps) {
        player.position = s.at;
        Tick(kPlayPlaying);
        const QString expected = s.shown ? QString::fromUtf8(s.shown) : QStringLiteral("正在播放：") + Song("Title1", "Singer1");
        EXPECT_EQ(core->ui.Label6, expected) << s.at;
        EXPECT_EQ(lrc.label, expected) << s.at;
    }
    player.statusText = QStringLiteral("正在缓冲...");
    Tick(platform::kPlayBuffering);
    EXPECT_EQ(core->ui.Label6, QStringLiteral(" 正在缓冲...  "));
    EXPECT_EQ(player.urls.size(), 1) << "buffering is not a failure";
}

TEST_F(PlayTest, FailedAddressTriesTheNextCandidateThenTheNextSong) {
    Start();
    for (const int failed : {kPlayReady, kPlayWaiting, platform::kPlayUndefined}) {
        ClickRow(0);
        ASSERT_TRUE(WaitFor([&] { return player.url == QStringLiteral("http://a/1a.mp3") && core->playback.PlayTime.isActive(); }));
        const auto before = player.urls.size();
        Tick(failed);
        EXPECT_EQ(player.url, QStringLiteral("http://a/1b.mp3")) << failed;
        EXPECT_EQ(core->links.LinkIndex, 1);
        Tick(failed);
        // The last candidate failed: one song on, not two.
        ASSERT_TRUE(WaitFor([&] { return player.urls.size() == before + 2; }));
        EXPECT_EQ(core->PlayIndex, 1) << failed;
        EXPECT_EQ(player.url, QStringLiteral("http://a/2.mp3"));
    }
}

TEST_F(PlayTest, Buttons) {
    Start();
    core->PlayS_Click(0);  // no song chosen: nothing
    EXPECT_EQ(player.plays, 0);
    EXPECT_FALSE(core->playback.PlayTime.isActive());

    ClickRow(0);
    ASSERT_TRUE(WaitUrl(1));
    core->PlayS_Click(4);  // pause: the watch stops, so a paused song is never skipped
    EXPECT_EQ(player.pauses, 1);
    EXPECT_FALSE(core->playback.PlayTime.isActive());
    EXPECT_TRUE(core->ui.PlaySVisible[0]);
    EXPECT_FALSE(lrc.playGlyph);
    core->PlayS_Click(0);
    EXPECT_TRUE(core->playback.PlayTime.isActive());
    EXPECT_EQ(player.state, kPlayPlaying);
    EXPECT_TRUE(lrc.playGlyph);

    core->PlayS_Click(2);  // the first song: only stops
    EXPECT_EQ(player.state, kPlayStopped);
    EXPECT_EQ(core->PlayIndex, 0);
    EXPECT_FALSE(core->playback.PlayTime.isActive());
    EXPECT_FALSE(core->links.Pending());
    EXPECT_TRUE(core->ui.Label6.isEmpty());
    EXPECT_EQ(core->ui.playingRow, -1);

    core->PlayS_Click(3);
    ASSERT_TRUE(WaitUrl(2));
    EXPECT_EQ(core->PlayIndex, 1);
    core->PlayS_Click(2);
    ASSERT_TRUE(WaitUrl(3));
    EXPECT_EQ(core->PlayIndex, 0);

    for (const int i : {5, 6}) {
        core->PlayS_Click(i);
        EXPECT_EQ(player.muted, i == 5);
        EXPECT_EQ(lrc.muteGlyph, i == 5);
        EXPECT_EQ(core->ui.PlaySVisible[5], i == 6);
        EXPECT_EQ(core->ui.PlaySVisible[6], i == 5);
    }
    core->PlayS_Click(1);
    EXPECT_EQ(player.state, kPlayStopped);
    EXPECT_TRUE(core->ui.PlaySVisible[0]);
}

// The end of the favourites starts them again from the top, and the viewed
// list (the playing one) goes back to its first page with it.
TEST_F(PlayTest, TheEndOfAListStartsAgainOnTheFirstPage) {
    test::FakeNet net;
    WriteFavourites(Fav(12));
    Start("1");
    core->PageA_Click(3);  // the last page
    ASSERT_EQ(core->CurPage, 1);
    ClickRow(1);
    ASSERT_EQ(core->PlayIndex, 11);
    net.Latest("/api/links")->Reply(Reply({"http://a/11.mp3"}));
    core->PlayNext();
    EXPECT_EQ(core->PlayIndex, 0);
    EXPECT_EQ(core->CurPage, 0);
    EXPECT_EQ(core->playback.play.page, 0);
    EXPECT_EQ(core->ui.Label4, QStringLiteral("1/2"));
    EXPECT_TRUE(core->links.Pending()) << "the first song is searched for";
}

// Loading the favourites or the radio list with automatic play starts the
// first song and leaves AutoPlay set; the completed song search clears it.
TEST_F(PlayTest, ListLoadsLeaveAutoPlayToTheSearch) {
    test::FakeNet net;
    WriteFavourites(Fav(2));
    WriteFile("radio.txt", "Station<|>http://radio/a\r\n");
    SetConfig("isRunPlay", "1");
    Start("2");  // the radio list: plays its own address, no search
    EXPECT_EQ(player.urls, QStringList{"http://radio/a"});
    EXPECT_TRUE(core->AutoPlay);
    Choose(0);  // the favourites: the first song is searched for
    EXPECT_TRUE(core->AutoPlay);
    ASSERT_TRUE(core->links.Pending());
    net.Latest("/api/links")->Reply(Reply({"http://a/0.mp3"}));
    EXPECT_FALSE(core->AutoPlay);
}

// The radio file's and the radio playlist's own addresses: a station ends
// the radio file's playing; an address the player may not open is refused;
// the address opened is the one checked, without the spaces around it.
TEST_F(PlayTest, StationsAndTheirAddresses) {
    WriteFile("radio.txt", "A<|> rtsp://radio/a\r\nB<|>file:///etc/passwd\r\nC<|>http://radio/c\r\n");
    Start();
    Choose(1);
    ClickRow(0);
    EXPECT_EQ(player.url, QStringLiteral("rtsp://radio/a"));
    EXPECT_NE(core->songLyrics.SongTag(), core->playback.SongTag()) << "no lyrics for a station";
    player.duration = 0;
    Tick(kPlayPlaying);
    EXPECT_EQ(core->ui.Label6, QStringLiteral(" 正在播放：A"));
    Tick(kPlayStopped);  // a station that ends is not followed by another
    Tick(kPlayReady);
    EXPECT_EQ(player.urls.size(), 1);
    ClickRow(1);
    EXPECT_EQ(player.urls.size(), 1) << "a local file from the network side";
    EXPECT_EQ(core->ui.Label6, QStringLiteral("无法播放这个地址"));
    ClickRow(2);
    core->PlayNext();  // the end of the radio file: stopped
    EXPECT_EQ(player.urls.size(), 2);
    EXPECT_EQ(player.state, kPlayStopped);
}

}  // namespace
}  // namespace tavo
