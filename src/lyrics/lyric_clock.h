#pragma once
// The play position between the player's reports. The player tells the
// position every so often; a smooth karaoke fill needs it every frame. While
// the report stays the same, the position runs on with the clock, at most
// kMaxAheadMs past the report (a stalled stream stops the fill soon). A new
// report, earlier or later, is taken as it is.

#include <QtGlobal>

namespace tavo {

class LyricClock {
public:
    static constexpr int kMaxAheadMs = 300;

    // The position at monotonic time `nowMs` given the player's report.
    int Now(int reportedMs, qint64 nowMs);
    // Forget the last report (after a pause, a seek or a new song).
    void Reset() { last_ = -1; }

private:
    int last_ = -1;
    qint64 since_ = 0;
};

}  // namespace tavo
