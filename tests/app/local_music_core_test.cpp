// The player core's side of the listener's own music: the last song back
// after a restart, playing a favourite handed over by its link, and the
// list's tool tips with a local song's duration.
#include "app_fixture.h"
#include "app/favourite_play.h"
#include "app/last_song.h"
#include "app/list_tooltip.h"

namespace tavo::test {
namespace {

// Favourites "Song0".."Song<n-1>", each with a local link "/m/<i>.mp3"; the
// odd ones carry a duration of 60 + i seconds.
std::string LocalFavourites(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += "Song" + std::to_string(i) + "<|>/m/" + std::to_string(i) + ".mp3";
        if (i % 2) s += "<|>" + std::to_string(60 + i);
        s += "\r\n";
    }
    return s;
}

class LastSong : public CoreTest {
protected:
    // A first run that plays favourite `row` and is at `seconds` when it ends.
    void RunAndExitAt(int row, double seconds) {
        ASSERT_TRUE(Load());
        Choose(0);
        core->list.PlayViewed(row);
        ASSERT_TRUE(WaitUrl(1));
        player.duration = 200;
        player.position = seconds;
        player.SetState(platform::kPlayPlaying);
        Tick(platform::kPlayPlaying);
        core->exit.Exit();
    }
    // The next start, on the same settings and files.
    void Restart() {
        core.reset();
        player.urls.clear();
        player.position = 0;
        player.state = platform::kPlayUndefined;
        MakeCore();
        ASSERT_TRUE(Load());
    }
};

TEST_F(LastSong, ThePlayingFavouriteIsSavedAtExitAndResumedWhereItWas) {
    WriteFavourites(LocalFavourites(15));
    SetConfig("isRunPlay", "1");
    SetConfig("isPlayListIndex", "4");  // the default list is a radio feed
    RunAndExitAt(12, 83.5);
    const std::optional<ResumePoint> saved = LoadResumePoint();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->source, 0);
    EXPECT_EQ(saved->index, 12);
    EXPECT_EQ(saved->entryText, QStringLiteral("Song12"));
    EXPECT_EQ(saved->link, QStringLiteral("/m/12.mp3"));
    EXPECT_EQ(saved->positionMs, 83500);

    Restart();
    EXPECT_EQ(core->Selection(), 0) << "the last song's list, not the default one";
    ASSERT_TRUE(WaitUrl(1));
    EXPECT_EQ(player.urls, QStringList{"/m/12.mp3"}) << "no other song started first";
    EXPECT_EQ(core->CurPage, 1);
    EXPECT_EQ(core->PlayIndex, 12);
    player.duration = 200;
    player.SetState(platform::kPlayPlaying);
    EXPECT_DOUBLE_EQ(player.position, 83.5);
}

TEST_F(LastSong, AnEditedListFindsTheSongByItsEntryAndWithoutAutoPlayOnlyShowsIt) {
    WriteFavourites(LocalFavourites(15));
    RunAndExitAt(12, 30);
    // Three songs went in at the top meanwhile.
    WriteFavourites("New1<|>/n/1.mp3\r\nNew2<|>/n/2.mp3\r\nNew3<|>/n/3.mp3\r\n" + LocalFavourites(15));
    SetConfig("isRunPlay", "0");
    Restart();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(core->Selection(), 0);
    EXPECT_EQ(core->CurPage, 1) << "the page of Song12, now row 15";
    EXPECT_TRUE(player.urls.isEmpty()) << "automatic play is off";
    EXPECT_FALSE(core->AutoPlay);
}

// A station has no place in its stream to come back to.
TEST_F(LastSong, AStationIsSavedWithoutAPosition) {
    WriteFile("radio.txt", "Station<|>http://127.0.0.1:1/live\r\n");
    ASSERT_TRUE(Load());
    Choose(1);
    core->list.PlayViewed(0);
    ASSERT_TRUE(WaitUrl(1));
    player.position = 42;
    player.SetState(platform::kPlayPlaying);
    core->exit.Exit();
    const std::optional<ResumePoint> saved = LoadResumePoint();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->source, 1);
    EXPECT_EQ(saved->positionMs, 0);
}

TEST_F(LastSong, ASongThatIsGoneStartsTheListAsUsual) {
    WriteFavourites(LocalFavourites(3));
    SetConfig("isRunPlay", "1");
    RunAndExitAt(2, 30);
    WriteFavourites(LocalFavourites(2));
    Restart();
    ASSERT_TRUE(WaitUrl(1));
    EXPECT_EQ(player.urls, QStringList{"/m/0.mp3"});
}

TEST_F(LastSong, SwitchedOffNothingComesBackAndNothingIsKept) {
    WriteFavourites(LocalFavourites(3));
    SetConfig("isPlayListIndex", "2");  // the radio file
    RunAndExitAt(2, 30);
    SetResumeEnabled(false);
    EXPECT_FALSE(LoadResumePoint());
    Restart();
    EXPECT_EQ(core->Selection(), 1) << "the default list";
    core->exit.RunSaveSteps();
    SetResumeEnabled(true);
    EXPECT_FALSE(LoadResumePoint()) << "saved as nothing while it was off";
}

TEST_F(LastSong, NothingChosenSavesNothing) {
    ASSERT_TRUE(Load());
    EXPECT_FALSE(CurrentResumePoint(*core));
    core->exit.RunSaveSteps();
    EXPECT_FALSE(LoadResumePoint());
}

using FavouritePlay = CoreTest;

TEST_F(FavouritePlay, ShowsTheFavouritesAndPlaysTheOneWithTheLink) {
    WriteFavourites(LocalFavourites(25));
    SetConfig("isPlayListIndex", "2");
    ASSERT_TRUE(Load());
    EXPECT_FALSE(PlayFavourite(*core, QStringLiteral("/m/none.mp3")));
    EXPECT_EQ(core->Selection(), 0);
    EXPECT_EQ(core->PlayIndex, -1);
    ASSERT_TRUE(PlayFavourite(*core, QStringLiteral("/m/21.mp3")));
    EXPECT_EQ(core->CurPage, 2);
    EXPECT_EQ(core->PlayIndex, 21);
    ASSERT_TRUE(WaitUrl(1));
    EXPECT_EQ(player.urls, QStringList{"/m/21.mp3"});
    EXPECT_FALSE(PlayFavourite(*core, QString()));
}

using ListTips = CoreTest;

TEST_F(ListTips, ARowTellsItsEntryAndALocalSongsDuration) {
    WriteFavourites(LocalFavourites(12) + "Online<|>\r\n");
    ASSERT_TRUE(Load());
    Choose(0);
    ListToolTip tips(*core);
    EXPECT_EQ(tips.Row(0), QStringLiteral("Song0"));
    EXPECT_EQ(tips.Row(1), QStringLiteral("Song1\n时长：1:01"));
    EXPECT_EQ(tips.Row(-1), QString()) << "the free space";
    EXPECT_EQ(tips.Row(10), QString()) << "below the rows";
    core->PageA_Click(2);
    EXPECT_EQ(tips.Row(1), QStringLiteral("Song11\n时长：1:11"));
    EXPECT_EQ(tips.Row(2), QStringLiteral("Online"));
    EXPECT_EQ(tips.Row(3), QString()) << "the last page has three rows";

    // The file changed: the tip follows.
    WriteFavourites("Song0<|>/m/0.mp3<|>3725\r\n");
    core->MySongList();
    EXPECT_EQ(tips.Row(0), QStringLiteral("Song0\n时长：1:02:05"));
}

TEST(DurationText, MinutesAndSecondsThenHours) {
    const struct {
        int seconds;
        const char* text;
    } cases[] = {{0, "0:00"}, {59, "0:59"}, {61, "1:01"}, {3599, "59:59"}, {3600, "1:00:00"}, {36061, "10:01:01"}};
    for (const auto& c : cases) EXPECT_EQ(DurationText(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
}

}  // namespace
}  // namespace tavo::test
