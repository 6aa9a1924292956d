#include "lyrics/lyric_timing.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

const QStringList kSong = {
    QStringLiteral("[ti:Song]"),
    QStringLiteral("[00:10.00][01:20.00]chorus"),
    QStringLiteral("[01:22.90]A"),
    QStringLiteral("[01:23.40]B"),
    QStringLiteral("[1:25.00]one-digit minute"),
    QStringLiteral("[01:30.00]"),
    QStringLiteral("[01:31.00]  spaced  \r\n"),
};

TEST(ListIdx, FindsTheFirstLineContainingThePosition) {
    struct Case {
        const char* position;
        int expected;
    } cases[] = {
        {"01:23", 3},   // [01:22.90]A is passed over: only B holds 01:23
        {"01:22", 2},
        {"01:24", -1},  // no line: the caller keeps the line it shows
        {"00:10", 1},   // a line with several tags is found at each of them
        {"01:20", 1},
        {"01:25", -1},  // "[1:25.00]" never holds the two-digit minute
        {"1:25", 4},    // (the tag itself is there, it is just never asked for)
        {"01:30", 5},
        {"59:59", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListIdx(kSong, QString::fromLatin1(c.position), static_cast<int>(kSong.size())), c.expected)
            << c.position;
}

TEST(ListIdx, SearchesOnlyTheCountedLines) {
    EXPECT_EQ(ListIdx(kSong, QStringLiteral("01:23"), 3), -1);
    EXPECT_EQ(ListIdx(kSong, QStringLiteral("01:23"), 4), 3);
    EXPECT_EQ(ListIdx(kSong, QStringLiteral("01:23"), 1000), 3);  // a count past the end is harmless
    EXPECT_EQ(ListIdx(kSong, QStringLiteral("01:23"), 0), -1);
    EXPECT_EQ(ListIdx(kSong, QStringLiteral("01:23"), -5), -1);
    EXPECT_EQ(ListIdx(QStringList(), QStringLiteral("00:00"), 3), -1);
}

TEST(ListIdx, TheFirstMatchWinsOverALaterOne) {
    const QStringList lines = {QStringLiteral("[00:05.00]first"), QStringLiteral("[00:05.50]second")};
    EXPECT_EQ(ListIdx(lines, QStringLiteral("00:05"), 2), 0);
}

TEST(LyricLineText, KeepsWhatFollowsTheLastBracketTrimmed) {
    struct Case {
        QString line;
        QString shown;
    } cases[] = {
        {QStringLiteral("[01:23.40]B"), QStringLiteral("B")},
        {QStringLiteral("[00:10.00][01:20.00]chorus"), QStringLiteral("chorus")},
        {QStringLiteral("[01:30.00]"), QString()},  // tag only: the caller shows the playing text
        {QStringLiteral("[01:31.00]  spaced  \r\n"), QStringLiteral("spaced")},
        {QStringLiteral("[01:31.00] a\rb\nc "), QStringLiteral("abc")},
        {QStringLiteral("no tag at all "), QStringLiteral("no tag at all")},
        {QStringLiteral("[00:01.00]text [with] brackets"), QStringLiteral("brackets")},
        {QStringLiteral("[00:01.00]歌词 "), QStringLiteral("歌词")},
        {QString(), QString()},
    };
    for (const Case& c : cases) EXPECT_EQ(LyricLineText(c.line), c.shown) << c.line.toStdString();
}

}  // namespace
}  // namespace tavo
