// The watch loop tells the window only what it shows anew: a tick that
// finds the same time text and line raises nothing (the fill is painted
// with the time text), so the window thread sleeps between ticks instead of
// copying and painting the same controls.
#include "app_fixture.h"

#include <QSignalSpy>

namespace tavo {
namespace {

using platform::kPlayBuffering;
using platform::kPlayPlaying;
using test::Song;

// Counts what the lyrics window is told.
class CountingLyricsView : public test::FakeLyricsView {
public:
    void SetLabel1Text(const QString& text) override {
        ++sets;
        FakeLyricsView::SetLabel1Text(text);
    }
    int sets = 0;
};

class QuietWatchTest : public test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        Links("Title1", "Singer1", {"http://a/1.mp3"});
        SetConfig("isPlayListIndex", "4");
        ASSERT_TRUE(Load());
        Choose(3);
        core->SetLyricsView(&view);
        ClickRow(0);
        ASSERT_TRUE(WaitUrl(1));
        // The song's lyrics search has answered: nothing else sets the line.
        ASSERT_TRUE(test::WaitFor([&] { return !core->songLyrics.Finding(); }));
        player.duration = 200;
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        core->SetLyricsView(&lrc);
        CoreTest::TearDown();
    }
    CountingLyricsView view;
};

TEST_F(QuietWatchTest, TicksThatChangeNothingRaiseNothing) {
    const QString playing = QStringLiteral(" 正在播放：") + Song("Title1", "Singer1");
    const struct {
        const char* what;
        int state;
        double position;
        bool changed;      // the window hears of it
        int lyricsSets;    // the lyrics window's line is set again
    } steps[] = {
        {"first tick", kPlayPlaying, 5.5, true, 1},
        {"the same again", kPlayPlaying, 5.5, false, 0},
        {"the fill moves, same second", kPlayPlaying, 5.7, false, 0},
        {"the next second", kPlayPlaying, 6.1, true, 0},
        {"buffering", kPlayBuffering, 6.1, true, 1},
        {"still buffering", kPlayBuffering, 6.1, false, 0},
        {"playing again", kPlayPlaying, 6.1, true, 1},
    };
    for (const auto& s : steps) {
        QSignalSpy changed(core.get(), &PlayerCore::Changed);
        view.sets = 0;
        player.position = s.position;
        Tick(s.state);
        QCoreApplication::processEvents();
        EXPECT_EQ(changed.count(), s.changed ? 1 : 0) << s.what;
        EXPECT_EQ(view.sets, s.lyricsSets) << s.what;
        EXPECT_EQ(view.label, core->ui.Label6) << s.what;
        if (s.state == kPlayPlaying) {
            EXPECT_DOUBLE_EQ(core->ui.position, s.position) << s.what;
        }
    }
    EXPECT_EQ(core->ui.Label6, playing);
    EXPECT_EQ(core->ui.socl, QStringLiteral(" 00:06 / 03:20  "));
}

// The lyrics window's line is compared with what it shows now, not with
// what the loop set last: a line set by someone else is put right.
TEST_F(QuietWatchTest, ALineSetElsewhereIsPutRightAtTheNextTick) {
    player.position = 1;
    Tick(kPlayPlaying);
    view.label = QStringLiteral("未找到歌词");
    view.sets = 0;
    Tick(kPlayPlaying);
    EXPECT_EQ(view.sets, 1);
    EXPECT_EQ(view.label, core->ui.Label6);
}

}  // namespace
}  // namespace tavo
