#include "lyrics/lyric_clock.h"
#include "lyrics/lyric_repaint_pacer.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

TEST(LyricClock, RunsOnBetweenReportsAndTakesEveryNewReportAsItIs) {
    const struct {
        int reported;
        qint64 now;
        int expected;
    } steps[] = {
        {1000, 50, 1000},   // first report
        {1000, 90, 1040},   // runs on with the clock
        {1000, 250, 1200},
        {1000, 900, 1300},  // never more than kMaxAheadMs past the report
        {1300, 910, 1300},  // a new report is taken as it is
        {400, 920, 400},    // a seek back too
        {400, 915, 400},    // a clock that went back: the report
        {-1, 930, 0},       // nothing plays
        {400, 940, 400},
    };
    LyricClock clock;
    for (const auto& s : steps) EXPECT_EQ(clock.Now(s.reported, s.now), s.expected) << s.reported << "@" << s.now;
    clock.Reset();
    EXPECT_EQ(clock.Now(400, 2000), 400);  // after a reset the report is new again
}

TEST(LyricRepaintPacer, TicksOnlyWhileShownAndPlaying) {
    LyricRepaintPacer pacer;
    EXPECT_FALSE(pacer.Running());
    const struct {
        bool visible, playing, running;
    } states[] = {{true, false, false}, {false, true, false}, {true, true, true}, {false, false, false}, {true, true, true}};
    for (const auto& s : states) {
        pacer.SetVisible(s.visible);
        pacer.SetPlaying(s.playing);
        EXPECT_EQ(pacer.Running(), s.running) << s.visible << s.playing;
    }
}

TEST(LyricRepaintPacer, AMovingLookTicksAtTheScreenRateAStillOneSlowly) {
    LyricRepaintPacer pacer;
    pacer.SetVisible(true);
    pacer.SetPlaying(true);
    EXPECT_EQ(pacer.IntervalMs(), LyricRepaintPacer::kStillIntervalMs);
    pacer.SetSmooth(true);
    const struct {
        double hz;
        int ms;
    } rates[] = {{60, 17}, {144, 7}, {30, 33}, {0, 17}, {-5, 17}, {1e9, 17}, {5, 50}, {500, 4}};
    for (const auto& r : rates) {
        pacer.SetRefreshRate(r.hz);
        EXPECT_EQ(pacer.IntervalMs(), r.ms) << r.hz;
        EXPECT_TRUE(pacer.Running());
    }
    pacer.SetSmooth(false);
    EXPECT_EQ(pacer.IntervalMs(), LyricRepaintPacer::kStillIntervalMs);
}

}  // namespace
}  // namespace tavo
