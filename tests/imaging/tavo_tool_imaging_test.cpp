// tavo-tool png and inflate as a user runs them.
#include "support/run_tool.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace {

using tavo::test::ToolRun;

ToolRun Tool(const QStringList& args, const QByteArray& input = {}) { return tavo::test::RunTool(args, input); }

const QString kSuite = QStringLiteral(TAVO_TEST_DATA_DIR "/pngsuite/");

TEST(TavoToolPng, WritesTheBlendedPictureAsPpm) {
    // basn6a08 has pixels of every alpha: the background decides the result.
    const ToolRun white = Tool({"png", kSuite + "basn6a08.png", "--background", "255,255,255"});
    const ToolRun black = Tool({"png", kSuite + "basn6a08.png", "--background", "0,0,0"});
    const ToolRun raw = Tool({"png", kSuite + "basn6a08.png", "--no-alpha"});
    ASSERT_EQ(white.code, 0) << white.err.toStdString();
    const QByteArray header = "P6\n32 32\n255\n";
    ASSERT_TRUE(white.bytes.startsWith(header));
    EXPECT_EQ(white.bytes.size(), header.size() + 32 * 32 * 3);
    EXPECT_NE(white.bytes, black.bytes);
    // The top-left pixel of basn6a08 has alpha 0: the background shows.
    EXPECT_EQ(white.bytes.mid(header.size(), 3), QByteArray("\xFF\xFF\xFF", 3));
    EXPECT_EQ(black.bytes.mid(header.size(), 3), QByteArray("\0\0\0", 3));
    EXPECT_NE(raw.bytes, black.bytes);
}

TEST(TavoToolPng, InfoAndFailures) {
    const ToolRun info = Tool({"png", "--info", kSuite + "tbrn2c08.png"});
    ASSERT_EQ(info.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(info.bytes).object();
    EXPECT_EQ(o.value("Width").toInt(), 32);
    EXPECT_EQ(o.value("ColorType").toInt(), 2);
    EXPECT_TRUE(o.value("HaveTransparence").toBool());
    EXPECT_EQ(o.value("BkgdColor").toInt(), 255);
    EXPECT_EQ(o.value("ErrorNumber").toInt(), 0);
    EXPECT_TRUE(o.contains("gama") && o.contains("zText") && o.contains("ModiTime"));

    const ToolRun bad = Tool({"png", kSuite + "xs1n0g01.png"});
    EXPECT_NE(bad.code, 0);
    EXPECT_TRUE(bad.bytes.isEmpty());
    EXPECT_TRUE(bad.err.contains("ErrorNumber 1"));
    EXPECT_EQ(QJsonDocument::fromJson(Tool({"png", "--info", kSuite + "xdtn0g01.png"}).bytes).object().value("ErrorNumber").toInt(), 4);
    EXPECT_EQ(Tool({"png", kSuite + "basn0g01.png", "--background", "1,2"}).code, 2);
}

TEST(TavoToolInflate, RawStreamInBytesOut) {
    QByteArray text;
    for (int i = 0; i < 500; ++i) text += "lyrics line " + QByteArray::number(i % 17) + "\r\n";
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray raw(static_cast<int>(deflateBound(&z, static_cast<uLong>(text.size()))), 0);
    z.next_in = reinterpret_cast<Bytef*>(text.data());
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(raw.data());
    z.avail_out = static_cast<uInt>(raw.size());
    deflate(&z, Z_FINISH);
    raw.resize(static_cast<int>(z.total_out));
    deflateEnd(&z);

    const ToolRun ok = Tool({"inflate"}, raw);
    EXPECT_EQ(ok.code, 0);
    EXPECT_EQ(ok.bytes, text);
    EXPECT_EQ(ok.err, "status 0\n");
    const ToolRun capped = Tool({"inflate", "--expected", "10"}, raw);
    EXPECT_EQ(capped.bytes, text.left(110));
    const ToolRun cut = Tool({"inflate"}, raw.left(raw.size() / 2));
    EXPECT_NE(cut.code, 0);
    EXPECT_EQ(cut.err, "status -1\n");
    EXPECT_TRUE(text.startsWith(cut.bytes));
    const ToolRun refused = Tool({"inflate"}, QByteArray("\x05\x00\x00\x08\x00", 5));
    EXPECT_NE(refused.code, 0);
    EXPECT_TRUE(refused.err.contains("Error in tree creation (Static)"));
    EXPECT_TRUE(refused.bytes.isEmpty());
}

}  // namespace
