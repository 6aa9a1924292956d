#include "lyrics/core/lyrics_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavo {
namespace {

const QStringList kLines = {"[ti:x]", "[01:22.90]A", "[01:23.40] B ", "[01:30]", "[00:10.00][01:40.00]Chorus",
                            "no tag", "[1:05.00]one-digit minute"};

TEST(LyricsModel, LinesAreReadOnceIntoTextAndTime) {
    LyricsModel m;
    m.SetLines(kLines);
    ASSERT_EQ(m.Count(), 7);
    const struct {
        int index;
        const char* text;
        int ms;
    } rows[] = {
        {0, "", -1},  // a metadata tag is no time
        {1, "A", 82900},
        {2, "B", 83400},
        {3, "", 90000},
        {4, "Chorus", 10000},  // the first of its tags
        {5, "no tag", -1},
        {6, "one-digit minute", 65000},
        {7, "", -1},  // past the end
        {-1, "", -1},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(m.Text(r.index), QString::fromUtf8(r.text)) << r.index;
        EXPECT_EQ(m.TimeMs(r.index), r.ms) << r.index;
    }
    EXPECT_EQ(m.WholeText(), kLines.join('\n'));
}

// The line for a position is the first one naming its mm:ss; a position
// no line names keeps the line that was found last. Each move is one notice.
TEST(LyricsModel, FollowingThePositionMovesTheCurrentLineOnce) {
    LyricsModel m;
    std::vector<int> moves;
    QObject::connect(&m, &LyricsModel::CurrentLineChanged, [&](int i) { moves.push_back(i); });
    m.SetLines(kLines);
    EXPECT_EQ(m.Current(), -1);
    const struct {
        const char* position;
        int found, current;
    } steps[] = {
        {"00:05", -1, -1}, {"00:10", 4, 4}, {"01:23", 2, 2}, {"01:23", 2, 2},
        {"01:24", -1, 2}, {"01:40", 4, 4}, {"01:05", -1, 4},  // a one-digit minute never matches
    };
    for (const auto& s : steps) {
        EXPECT_EQ(m.Follow(QString::fromLatin1(s.position)), s.found) << s.position;
        EXPECT_EQ(m.Current(), s.current) << s.position;
    }
    EXPECT_EQ(moves, (std::vector<int>{4, 2, 4}));
}

TEST(LyricsModel, ReplacingOrClearingIsOneNoticeAndForgetsTheCurrentLine) {
    LyricsModel m;
    int changes = 0;
    QObject::connect(&m, &LyricsModel::Changed, [&] { ++changes; });
    m.SetLines(kLines);
    m.Follow(QStringLiteral("01:23"));
    EXPECT_EQ(changes, 1);
    m.SetLines({"[00:01.00]x"});
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(m.Current(), -1);
    m.Clear();
    m.Clear();  // already empty: nothing to tell
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(m.IsEmpty());
    EXPECT_TRUE(m.Around(1, 1).isEmpty());
}

TEST(LyricsModel, AroundTheCurrentLineStopsAtTheEnds) {
    LyricsModel m;
    m.SetLines({"[00:01]a", "[00:02]b", "[00:03]c", "[00:04]d"});
    EXPECT_EQ(m.Around(1, 1), (QStringList{"a", "b"}));  // none current yet: from the first
    m.Follow(QStringLiteral("00:03"));
    EXPECT_EQ(m.Around(1, 1), (QStringList{"b", "c", "d"}));
    EXPECT_EQ(m.Around(5, 5), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(m.Around(0, 0), QStringList{"c"});
    EXPECT_EQ(m.Around(-3, -3), QStringList{"c"});
}

}  // namespace
}  // namespace tavo
