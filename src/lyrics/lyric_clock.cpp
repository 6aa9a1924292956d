#include "lyrics/lyric_clock.h"

#include <algorithm>

namespace tavo {

int LyricClock::Now(int reportedMs, qint64 nowMs) {
    if (reportedMs < 0) {
        Reset();
        return 0;
    }
    if (reportedMs != last_ || nowMs < since_) {
        last_ = reportedMs;
        since_ = nowMs;
        return reportedMs;
    }
    const qint64 ahead = std::min<qint64>(nowMs - since_, kMaxAheadMs);
    return static_cast<int>(std::min<qint64>(static_cast<qint64>(reportedMs) + ahead, 0x7FFFFFFF));
}

}  // namespace tavo
