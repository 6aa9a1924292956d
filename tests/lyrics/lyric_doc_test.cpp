#include "lyrics/lyric_doc.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

LyricDoc Parse(const char* text) { return ParseLyricDoc(QString::fromUtf8(text)); }

TEST(ParseLyricDoc, ReadsTimeTagsInEveryWrittenForm) {
    struct Case {
        const char* line;
        int timeMs;  // -1: not a timed line
        const char* text;
    } cases[] = {
        {"[01:23.45]a", 83450, "a"},
        {"[01:23.4]a", 83400, "a"},
        {"[01:23.456]a", 83456, "a"},
        {"[01:23]a", 83000, "a"},
        {"[01:23:45]a", 83450, "a"},
        {"[1:02.00]a", 62000, "a"},
        {"[120:00.00]a", 7200000, "a"},
        {"[00:10.00]  spaced  ", 10000, "spaced"},
        {"[00:60.00]a", -1, ""},     // seconds past 59
        {"[00:1x.00]a", -1, ""},
        {"[00:10.0000]a", -1, ""},   // four fraction digits
        {"[Chorus]a", -1, ""},
    };
    for (const Case& c : cases) {
        const LyricDoc doc = Parse(c.line);
        if (c.timeMs < 0) {
            EXPECT_FALSE(doc.synced) << c.line;
            continue;
        }
        ASSERT_EQ(doc.lines.size(), 1u) << c.line;
        EXPECT_EQ(doc.lines[0].timeMs, c.timeMs) << c.line;
        EXPECT_EQ(doc.lines[0].text, QString::fromUtf8(c.text)) << c.line;
    }
}

TEST(ParseLyricDoc, SortsLinesAndRepeatsALineAtEachOfItsTags) {
    const LyricDoc doc = Parse("[ti:Song]\n[ar:Singer]\r\n[00:30.00]b\r[00:10.00][01:00.00]chorus\n[00:20.00]a");
    ASSERT_TRUE(doc.synced);
    ASSERT_EQ(doc.lines.size(), 4u);
    const int times[] = {10000, 20000, 30000, 60000};
    const char* texts[] = {"chorus", "a", "b", "chorus"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(doc.lines[i].timeMs, times[i]);
        EXPECT_EQ(doc.lines[i].text, QString::fromUtf8(texts[i]));
    }
    EXPECT_TRUE(doc.plain.isEmpty());
}

TEST(ParseLyricDoc, PairsLinesAtTheSameTimeAsOriginalAndTranslation) {
    const LyricDoc doc = Parse(
        "[00:10.00]Hello\n[00:10.00]你好\n"
        "[00:20.00]One\n[00:20.00]一\n[00:20.00]壹\n[00:20.00]\n"  // three and more at one time
        "[00:30.00]Alone\n"
        "[00:40.00]Late\n[00:05.00]early\n[00:40.00]迟\n");  // a pair need not be adjacent
    ASSERT_EQ(doc.lines.size(), 5u);
    EXPECT_EQ(doc.lines[0].text, QStringLiteral("early"));
    EXPECT_EQ(doc.lines[1].text, QStringLiteral("Hello"));
    EXPECT_EQ(doc.lines[1].translation, QStringLiteral("你好"));
    EXPECT_EQ(doc.lines[2].text, QStringLiteral("One"));
    EXPECT_EQ(doc.lines[2].translation, QStringLiteral("一 / 壹"));
    EXPECT_TRUE(doc.lines[3].translation.isEmpty());
    EXPECT_EQ(doc.lines[4].translation, QStringLiteral("迟"));
}

TEST(ParseLyricDoc, ReadsWordTimesAndKeepsThemInsideTheLine) {
    const LyricDoc doc = Parse(
        "[00:10.00]<00:10.00>Hel<00:10.50>lo <00:11.00>world\n"
        "[00:20.00]<00:22.00>b<00:21.00>a<00:19.00>c<00:40.00>d\n"  // out of order, early, past the end
        "[00:30.00]x\n");
    ASSERT_EQ(doc.lines.size(), 3u);
    const LyricLine& first = doc.lines[0];
    EXPECT_EQ(first.text, QStringLiteral("Hello world"));
    ASSERT_EQ(first.words.size(), 3u);
    EXPECT_EQ(first.words[1].startMs, 10500);
    EXPECT_EQ(first.words[2].text, QStringLiteral("world"));

    const LyricLine& second = doc.lines[1];
    ASSERT_EQ(second.words.size(), 4u);
    const int expected[] = {22000, 22000, 22000, 30000};  // never backwards, never past the next line
    for (int k = 0; k < 4; ++k) EXPECT_EQ(second.words[k].startMs, expected[k]) << k;
    EXPECT_TRUE(doc.lines[2].words.empty());
}

TEST(ParseLyricDoc, ARepeatedLineSingsItsWordsAtEachRepeat) {
    const LyricDoc doc = Parse("[00:10.00][00:50.00]<00:10.00>a<00:11.00>b\n[00:20.00]x\n[01:00.00]y");
    ASSERT_EQ(doc.lines.size(), 4u);
    ASSERT_EQ(doc.lines[2].words.size(), 2u);
    EXPECT_EQ(doc.lines[2].timeMs, 50000);
    EXPECT_EQ(doc.lines[2].words[1].startMs, 51000);
}

TEST(ParseLyricDoc, ReadsTheFileOffsetAndClampsIt) {
    struct Case {
        const char* tag;
        int offset;
    } cases[] = {
        {"[offset:+500]", 500},  {"[offset:-250]", -250}, {"[offset: 40 ]", 40},
        {"[OFFSET:100]", 100},   {"[offset:abc]", 0},     {"[offset:99999999999999999999]", kMaxLyricOffsetMs},
        {"[offset:-99999999999]", -kMaxLyricOffsetMs},
    };
    for (const Case& c : cases) {
        const LyricDoc doc = ParseLyricDoc(QString::fromUtf8(c.tag) + QStringLiteral("\n[00:10.00]a"));
        EXPECT_EQ(doc.offsetMs, c.offset) << c.tag;
    }
}

TEST(ParseLyricDoc, KeepsUntimedTextAsPlainLines) {
    const LyricDoc doc = Parse("[ti:Song]\n\nfirst line\n[Chorus] second\n\n  third  \n\n");
    EXPECT_FALSE(doc.synced);
    EXPECT_TRUE(doc.lines.empty());
    EXPECT_EQ(doc.plain, (QStringList{"first line", "[Chorus] second", "", "third"}));
    EXPECT_EQ(LineAt(doc, 1000), -1);
    EXPECT_EQ(LyricDocText(doc), QStringLiteral("first line\n[Chorus] second\n\nthird"));
}

TEST(LineAt, FindsTheLineSungAtAPositionWithTheOffsetsApplied) {
    const LyricDoc doc = Parse("[offset:+500]\n[00:10.00]a\n[00:20.00]b\n[00:30.00]c");
    struct Case {
        int positionMs;
        int line;
    } cases[] = {{0, -1}, {9499, -1}, {9500, 0}, {19499, 0}, {19500, 1}, {29500, 2}, {INT_MAX, 2}, {-5000, -1}};
    for (const Case& c : cases) EXPECT_EQ(LineAt(doc, c.positionMs), c.line) << c.positionMs;
    EXPECT_EQ(LyricTime(doc, 10000, -700), 9800);
    EXPECT_EQ(LyricTime(doc, INT_MAX, kMaxLyricOffsetMs), INT_MAX);
    EXPECT_EQ(LyricTime(doc, 0, -kMaxLyricOffsetMs), 0);
}

TEST(SungChars, FillsEvenlyWithoutWordTimesAndWordByWordWithThem) {
    const LyricDoc doc = Parse(
        "[00:10.00]abcdefghij\n"
        "[00:20.00]<00:20.00>ab<00:21.00>cdefgh<00:29.00>ij\n"
        "[00:30.00]last");
    struct Case {
        int line;
        int timeMs;
        double chars;
    } cases[] = {
        {0, 9000, 0},   {0, 10000, 0},   {0, 15000, 5},   {0, 20000, 10}, {0, 25000, 10},
        {1, 20500, 1},  {1, 21000, 2},   {1, 25000, 5},   {1, 29000, 8},  {1, 29500, 9},
        {2, 32500, 2},  {2, 35000, 4},   {2, 40000, 4},   // the last line lasts kLastLineMs
        {-1, 1000, 0},  {3, 1000, 0},
    };
    for (const Case& c : cases) EXPECT_NEAR(SungChars(doc, c.line, c.timeMs), c.chars, 1e-9) << c.line << " " << c.timeMs;
}

TEST(ParseLyricDoc, HostileFilesStayBounded) {
    QString many;
    for (int i = 0; i < 10000; ++i) many += QStringLiteral("[00:00.00][%1:00.00]line %1\n").arg(i % 9999);
    const LyricDoc manyDoc = ParseLyricDoc(many);
    EXPECT_EQ(static_cast<int>(manyDoc.lines.size()), 9999);  // equal times pair up, one line per time
    EXPECT_FALSE(manyDoc.truncated);

    QString tooMany;
    for (int i = 0; i < kMaxLyricLines + 10; ++i) tooMany += QStringLiteral("[%1:%2.00]x\n").arg(i / 60).arg(i % 60);
    const LyricDoc cut = ParseLyricDoc(tooMany);
    EXPECT_TRUE(cut.truncated);
    EXPECT_EQ(static_cast<int>(cut.lines.size()), kMaxLyricLines);

    const QString longText(10000, QLatin1Char('w'));
    const LyricDoc longDoc = ParseLyricDoc(QStringLiteral("[00:01.00]") + longText + QStringLiteral("\n[00:02.00]") +
                                           QString(10000, QLatin1Char('<')) + QString(10000, QLatin1Char('[')));
    ASSERT_EQ(longDoc.lines.size(), 2u);
    EXPECT_EQ(longDoc.lines[0].text, longText);
    EXPECT_EQ(longDoc.lines[1].text.size(), 20000);

    QString tags;
    for (int i = 0; i < 1000; ++i) tags += QStringLiteral("[00:%1.00]").arg(i % 60, 2, 10, QLatin1Char('0'));
    const LyricDoc tagDoc = ParseLyricDoc(tags + QStringLiteral("x"));
    EXPECT_LE(static_cast<int>(tagDoc.lines.size()), kMaxTagsPerLine);
}

TEST(LyricDocText, WritesTheLinesBackAsLrc) {
    const LyricDoc doc = Parse("[00:10.00]Hello\n[00:10.00]你好\n[61:02.5]b");
    EXPECT_EQ(LyricDocText(doc), QStringLiteral("[00:10.00]Hello\n[00:10.00]你好\n[61:02.50]b\n"));
    const LyricDoc again = ParseLyricDoc(LyricDocText(doc));
    EXPECT_EQ(again.lines.size(), doc.lines.size());
}

}  // namespace
}  // namespace tavo
