// A lyric file's own [offset:] moved into its time tags.
#include "lyrics/lrc_shift.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

struct ShiftCase {
    const char* what;
    QStringList in;
    QStringList out;
};

class LrcShift : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(LrcShift, MovesTheTimesAndDropsTheOffsetTag) {
    const ShiftCase& c = GetParam();
    EXPECT_EQ(ApplyLrcOffset(c.in), c.out) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LrcShift,
    ::testing::Values(
        ShiftCase{"no offset: unchanged",
                  {"[ti:晴天]", "[00:29.26]故事的小黄花"},
                  {"[ti:晴天]", "[00:29.26]故事的小黄花"}},
        ShiftCase{"a zero offset stays as written",
                  {"[offset:+0]", "[00:29.26]a"},
                  {"[offset:+0]", "[00:29.26]a"}},
        ShiftCase{"positive: shown earlier",
                  {"[offset:+500]", "[00:29.26]a", "[01:00.1]b"},
                  {"[00:28.76]a", "[00:59.60]b"}},
        ShiftCase{"negative: shown later, across a minute",
                  {"[00:59.50]a", "[offset:-1500]"},
                  {"[01:01.00]a"}},
        ShiftCase{"never before the start",
                  {"[offset:3000]", "[00:01.00]a", "[00:05]b"},
                  {"[00:00.00]a", "[00:02.00]b"}},
        ShiftCase{"of the lines moved before the start only the last stays, not taken for translations",
                  {"[offset:+500]", "[00:00.10]Title", "[00:00.30]词：X", "[00:00.40]曲：Y", "[00:02.00]a"},
                  {"[00:00.00]曲：Y", "[00:01.50]a"}},
        ShiftCase{"every leading tag and every word time, not a time in the text",
                  {"[OFFSET: +1000]", "[00:10.00][01:10.00]<00:10.00>合<00:10.50>唱 at [12:30]"},
                  {"[00:09.00][01:09.00]<00:09.00>合<00:09.50>唱 at [12:30]"}},
        ShiftCase{"metadata and plain lines pass through",
                  {"[offset:+100]", "[ar:周杰伦]", "", "plain words"},
                  {"[ar:周杰伦]", "", "plain words"}},
        ShiftCase{"an offset that is not a number changes nothing",
                  {"[offset:soon]", "[00:10.00]a"},
                  {"[offset:soon]", "[00:10.00]a"}},
        ShiftCase{"a huge offset is bounded and clamps at zero",
                  {"[offset:99999999999999999999]", "[99:59.99]a"},
                  {"[89:59.99]a"}}));

}  // namespace
}  // namespace tavo
