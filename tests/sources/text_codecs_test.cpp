#include "sources/text_codecs.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

namespace tavo {
namespace {

QString Enc(QString text) { return UrlEncodeUtf8(text); }

TEST(UrlEncodeUtf8, EncodesEveryUnitByItsRule) {
    struct Case {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("音乐 box"), "%E9%9F%B3%E4%B9%90%20box"},
        {"a.b", "a%2Eb"},
        {"-_.~", "%2D%5F%2E%7E"},
        {"   ", ""},
        {"", ""},
        {QString(QChar(0xE9)), "%E9"},                 // below 256: one byte, not UTF-8
        {QString(QChar(0x100)), "%E0%84%80"},          // three-byte form of 0x0100
        {QString(QChar(0xFFFF)), "%EF%BF%BF"},
        {QString(QChar(0)), "%00"},
        {"Az09", "Az09"},
        // Each surrogate of a pair is encoded by itself.
        {QString::fromUcs4(U"\U0001F3B5"), "%ED%A0%BC%ED%BE%B5"},
    };
    for (const auto& c : cases) EXPECT_EQ(Enc(c.in), c.out) << c.in.toStdString();
}

TEST(UrlEncodeUtf8, TrimsTheCallersVariable) {
    QString text = "  a b  ";
    EXPECT_EQ(UrlEncodeUtf8(text), "a%20b");
    EXPECT_EQ(text, "a b");
}

TEST(UrlEncodeUtf8, HandlesTextsLongerThan32767Units) {
    QString text(40000, QChar(0x97F3));
    QString out = UrlEncodeUtf8(text);
    EXPECT_EQ(out.size(), 40000 * 9);
    EXPECT_TRUE(out.startsWith("%E9%9F%B3"));
}

TEST(UrlDecodeAnsi, DecodesPlusAndEscapes) {
    struct Case {
        QString in;
        QString out;
    } cases[] = {
        {"a+b%41", "a bA"},
        {"%D2%F4", QStringLiteral("音")},
        {"%D2%F4%C0%D6", QStringLiteral("音乐")},
        {"%d2%f4", QStringLiteral("音")},
        {"plain", "plain"},
        {"%", QString(QChar(0))},                    // "%" at the end gives U+0000
        {"ab%", QStringLiteral("ab") + QChar(0)},
        {"%4", "\x04"},                               // fewer than two digits
        {"%4G", QStringLiteral("\x04")},              // the longest run of hex digits: "4", then "G" is skipped
        {"%zz!", QStringLiteral("") + QChar(0) + "!"},// no digit: U+0000, two units skipped
        {"%7F", "\x7F"},
        // The unit after a lead byte is skipped without a test.
        {"%D2xF4", QStringLiteral("音")},
        // A lead byte at the end: the trail reads as 0, not a character.
        {"%D2", "?"},
        {"%D2%", "?"},
        // A code page 936 lead byte with an invalid trail byte.
        {"%D2%20", "?"},
    };
    for (const auto& c : cases) EXPECT_EQ(UrlDecodeAnsi(c.in), c.out) << c.in.toStdString();
}

TEST(UrlDecodeAnsi, HandlesTextsLongerThan32767Units) {
    QString in;
    for (int i = 0; i < 10000; ++i) in += "%D2%F4";
    EXPECT_EQ(UrlDecodeAnsi(in), QString(10000, QChar(0x97F3)));
}

TEST(RndToken, HasTheShapeAndIsFreshOnEveryCall) {
    // r1 with seven decimals, r2's digits without the point, the first three
    // characters of r3 ("0.7", or "0" when r3 is zero).
    static const QRegularExpression shape("^0\\.[0-9]{7}0[0-9]*(0\\.[0-9]|0)$");
    QSet<QString> seen;
    for (int i = 0; i < 200; ++i) {
        const QString t = RndToken();
        EXPECT_TRUE(shape.match(t).hasMatch()) << t.toStdString();
        seen.insert(t);
    }
    EXPECT_EQ(seen.size(), 200);
}

TEST(ReadUtf8File, ReadsUtf8AndReportsMissingFilesAsEmpty) {
    test::TempDir dir;
    dir.Write("a.json", "\xEF\xBB\xBF[{\"title\":\"\xE9\x9F\xB3\"}]\r\nnext");
    EXPECT_EQ(ReadUtf8File(dir / "a.json"), QStringLiteral("[{\"title\":\"音\"}]\r\nnext"));
    EXPECT_EQ(ReadUtf8File(dir / "missing.json"), QString());  // the other unreadable paths: ReadFileBytes
    // Invalid bytes become replacement characters, nothing is lost around them.
    dir.Write("bad.json", "a\xFF" "b");
    EXPECT_EQ(ReadUtf8File(dir / "bad.json"), QStringLiteral("a") + QChar(0xFFFD) + "b");
}

TEST(RemoveBracketed, RemovesGroupsScanningForward) {
    struct Case {
        QString text, open, close, out;
    } cases[] = {
        {"Song(Live)", "(", ")", "Song"},
        {"A(x)B(y)C", "(", ")", "AB(y)C"},   // the second group slid before the scan position
        {"A(x)B(x)C", "(", ")", "ABC"},      // same inner text: one removal takes both
        {"Song)", "(", ")", "Song)"},         // closing without opening: unchanged
        {"Song(", "(", ")", "Song("},
        {"()x", "(", ")", "x"},
        {"", "(", ")", ""},
        {"a(b(c)d)e", "(", ")", "ad)e"},
        {QStringLiteral("歌（现场）"), QStringLiteral("（"), QStringLiteral("）"), QStringLiteral("歌")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemoveBracketed(c.text, c.open, c.close), c.out) << c.text.toStdString();
}

TEST(TrimSpaces, RemovesOnlyU0020) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimSpaces("    "), "");
    EXPECT_EQ(TrimSpaces(QStringLiteral("\u3000a")), QStringLiteral("\u3000a"));
}

}  // namespace
}  // namespace tavo
