#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace tavo::platform {
namespace {

TEST(Utf8Validity, AcceptsWellFormedAndRejectsMalformedSequences) {
    struct Case {
        const char* bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"plain ascii", true},
        {"\xE9\x9F\xB3\xE4\xB9\x90", true},     // 音乐
        {"\xF0\x9F\x8E\xB5", true},             // U+1F3B5
        {"\xD2\xF4", false},                    // GBK 音
        {"\xC0\xAF", false},                    // overlong "/"
        {"\xE0\x80\xAF", false},                // overlong, three bytes
        {"\xED\xA0\x80", false},                // a surrogate
        {"\xF4\x90\x80\x80", false},            // above U+10FFFF
        {"\xE9\x9F", false},                    // truncated
        {"\x80", false},                        // lone continuation byte
        {"\xFF", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(Gb18030, DecodesCodePage936AndItsSuperset) {
    EXPECT_EQ(DecodeGb18030("\xD2\xF4\xC0\xD6"), QStringLiteral("音乐"));
    EXPECT_EQ(DecodeGb18030("abc"), QStringLiteral("abc"));
    // A character outside GBK: U+20AC € is A2 E3 in GB18030. Broken bytes
    // are covered through the text-file reader (BrokenBytesNeverStopReading).
    EXPECT_EQ(DecodeGb18030("\xA2\xE3"), QString(QChar(0x20AC)));
}

TEST(Cp936, ConvertsDoubleByteCodes) {
    EXPECT_EQ(Cp936CodeToString(0xD2F4), QStringLiteral("音"));
    EXPECT_EQ(Cp936CodeToString(0xC0D6), QStringLiteral("乐"));
    EXPECT_EQ(Cp936CodeToString(0x41), QStringLiteral("A"));
    // Not characters of the code page.
    EXPECT_TRUE(Cp936CodeToString(0xD200).isEmpty());
    EXPECT_TRUE(Cp936CodeToString(0xFFFF).isEmpty());
    EXPECT_TRUE(Cp936CodeToString(0x12345).isEmpty());
}

TEST(Cp936, EncodesWithQuestionMarkForUnmappableCharacters) {
    EXPECT_EQ(EncodeCp936(QStringLiteral("音乐 box")), QByteArray("\xD2\xF4\xC0\xD6 box"));
    // A character outside code page 936 (U+1F3B5) becomes one "?".
    EXPECT_EQ(EncodeCp936(QStringLiteral("a") + QString::fromUcs4(U"\U0001F3B5") + QStringLiteral("b")),
              QByteArray("a?b"));
    EXPECT_EQ(EncodeCp936(QString()), QByteArray());
}

}  // namespace
}  // namespace tavo::platform
