#include "platform/ansi_text.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tavo::platform {
namespace {

TEST(TextLines, SplitAtCrLfLoneLfAndLoneCr) {
    struct Case {
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"a\n\rb", {"a", "", "b"}},  // LF then a lone CR: two endings
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeTextLines(c.bytes), c.lines) << c.bytes.toStdString();
        EXPECT_EQ(DecodeTextJoined(c.bytes, "|"), c.lines.join("|")) << c.bytes.toStdString();
        EXPECT_EQ(DecodeTextJoined(c.bytes), c.lines.join("")) << c.bytes.toStdString();
    }
}

TEST(TextLines, EachLineIsUtf8OrGb18030OnItsOwn) {
    // Line 1 UTF-8, line 2 GBK, line 3 UTF-8 again: a file edited by two tools.
    QByteArray mixed = "\xE9\x9F\xB3\xE4\xB9\x90<|>a\r\n\xD2\xF4\xC0\xD6<|>b\r\n\xE8\x93\x9D\xE8\x89\xB2";
    EXPECT_EQ(DecodeTextLines(mixed), (QStringList{"音乐<|>a", "音乐<|>b", "蓝色"}));
}

TEST(TextLines, ByteOrderMarksAreDropped) {
    EXPECT_EQ(DecodeTextLines("\xEF\xBB\xBFx\r\ny"), (QStringList{"x", "y"}));
    // Files pasted together can carry a mark at a line start too.
    EXPECT_EQ(DecodeTextLines("x\r\n\xEF\xBB\xBFy"), (QStringList{"x", "y"}));
    EXPECT_EQ(DecodeTextJoined("\xEF\xBB\xBFx\r\n\xEF\xBB\xBFy\xEF\xBB\xBF"), QStringLiteral("xy\uFEFF"));
    EXPECT_EQ(DecodeTextLines("\xEF\xBB\xBF"), QStringList{});
}

TEST(TextLines, BrokenBytesNeverStopReading) {
    // Truncated GBK at the end of a line, a lone 0x80 and 0xFF: every line
    // still comes back and the good characters survive.
    QStringList lines = DecodeTextLines("ok\r\n\xD2\r\nx\xFFy\r\n\xD2\xF4");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "ok");
    EXPECT_EQ(lines[1], QString(QChar(0xFFFD)));
    EXPECT_EQ(lines[2], QStringLiteral("x") + QChar(0xFFFD) + "y");
    EXPECT_EQ(lines[3], QStringLiteral("音"));
}

TEST(TextFiles, WrittenFilesAreUtf8WithCrLfAndReadBack) {
    test::TempDir dir;
    const auto file = dir / "list.txt";
    ASSERT_TRUE(WriteTextLines(file, {"音乐<|>", "b<|>/tmp/x.mp3"}));
    EXPECT_EQ(test::TempDir::Read(file), "\xE9\x9F\xB3\xE4\xB9\x90<|>\r\nb<|>/tmp/x.mp3\r\n");
    auto lines = ReadTextLines(file);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (QStringList{"音乐<|>", "b<|>/tmp/x.mp3"}));
    EXPECT_EQ(ReadTextJoined(file), QStringLiteral("音乐<|>b<|>/tmp/x.mp3"));
}

TEST(TextFiles, MissingFileIsNulloptAndEmptyText) {
    test::TempDir dir;
    EXPECT_FALSE(ReadTextLines(dir / "missing.txt").has_value());
    EXPECT_FALSE(ReadTextLines(dir.path()).has_value());  // a folder is not a file
    EXPECT_FALSE(ReadTextLines({}).has_value());
    EXPECT_TRUE(ReadTextJoined(dir / "missing.txt").isEmpty());
}

TEST(TextFiles, AtomicWriteReplacesWholeFileAndFailsCleanlyInMissingFolder) {
    test::TempDir dir;
    const auto file = dir.Write("f.bin", std::string(1000, 'x'));
    ASSERT_TRUE(WriteFileAtomically(file, QByteArray("new")));
    EXPECT_EQ(test::TempDir::Read(file), "new");
    EXPECT_FALSE(WriteFileAtomically(dir / "no" / "such" / "folder" / "f", QByteArray("x")));
}

TEST(TextFiles, PathsRoundTripChineseNames) {
    const QString name = QStringLiteral("/tmp/蓝色科技/skin.ini");
    EXPECT_EQ(PathToQString(QStringToPath(name)), name);
}

}  // namespace
}  // namespace tavo::platform
