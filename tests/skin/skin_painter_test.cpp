// Painting a skin: the pixels of the window image, the list rows and the
// button faces.
#include "skin/list_paint.h"
#include "skin/skin_blend.h"
#include "skin/skin_colour.h"
#include "skin/skin_module.h"
#include "skin/skin_painter.h"
#include "skin/window_shape.h"

#include "platform/ansi_text.h"
#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <fstream>

namespace fs = std::filesystem;
using namespace tavo;

namespace {

SkinLayout Layout() {
    SkinLayout l;
    l.window = QSize(120, 200);
    l.list = QRect(10, 40, 100, 50);
    l.rowHeight = 5;
    l.pageA[0] = QRect(10, 100, 30, 20);
    l.pageA[7] = QRect(100, 4, 16, 16);
    l.playS[0] = QRect(10, 130, 33, 33);
    l.playS[5] = QRect(60, 134, 24, 24);
    l.lyrics = QSize(60, 12);
    return l;
}

// A background with a different colour at every pixel.
QImage Gradient(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) img.setPixel(x, y, qRgb(x * 2 % 256, y % 256, (x + y) % 256));
    return img;
}

void SavePng(const fs::path& file, QSize size, QColor colour) {
    QImage img(size, QImage::Format_ARGB32);
    img.fill(colour);
    ASSERT_TRUE(img.save(platform::PathToQString(file), "PNG"));
}

class PaintSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultColours(colours);
        colours.BackgroundColor = SkinRgb(20, 40, 80);
        colours.HeadTailBorderColor = SkinRgb(200, 100, 0);
    }
    SkinPictures Paint(const QImage& background, int scale = 1) {
        return PaintSkin(colours, background, folder.path(), Layout(), scale, decoder);
    }
    static QImage Under(const QImage& window, const QRect& r, int scale = 1) {
        QImage out = window.copy(QRect(r.topLeft() * scale, r.size() * scale));
        out.setDevicePixelRatio(1);
        return out.convertToFormat(QImage::Format_RGB32);
    }
    static QImage Plain(QImage img) {
        img.setDevicePixelRatio(1);
        return img.convertToFormat(QImage::Format_RGB32);
    }

    SkinColours colours;
    test::TempDir folder;
    imaging::LoadPNG decoder;
    test::ScopedFakeMessageBox messages;
};

TEST_F(PaintSkinTest, FrameBandsBlendTheBorderColourOverThePlainBackground) {
    const SkinPictures s = Paint(QImage());
    const QRgb back = qRgb(20, 40, 80), frame = qRgb(200, 100, 0);
    const struct {
        QPoint at;
        QRgb expected;
    } cases[] = {
        {{60, 100}, back},                                             // inside: untouched
        {{60, 10}, BlendPixel(frame, back, 70)},                       // title band
        {{60, 0}, BlendPixel(frame, back, 150)},                       // top line
        {{60, 1}, back},                                               // between top line and title band
        {{0, 100}, BlendPixel(frame, back, 150)},                      // left edge
        {{119, 100}, BlendPixel(frame, back, 150)},                    // right edge, two pixels
        {{118, 100}, BlendPixel(frame, back, 150)},
        {{60, 190}, BlendPixel(frame, back, 80)},                      // bottom band
        {{60, 199}, BlendPixel(frame, BlendPixel(frame, back, 80), 120)},
        {{0, 10}, BlendPixel(frame, BlendPixel(frame, back, 70), 150)},  // bands overlap
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at.x() << "," << c.at.y());
        EXPECT_EQ(s.window.pixel(c.at), c.expected);
    }
    // The lyrics window takes the plain colour and the window's pixel (0, 40).
    EXPECT_EQ(s.lyrics.pixel(5, 5), back);
    EXPECT_EQ(s.lyricsFrame.rgb(), s.window.pixel(0, 40));
}

TEST_F(PaintSkinTest, ListRowsAndPageButtonsAreCutFromTheWindow) {
    const QImage bg = Gradient(Layout().window);
    SkinPictures s = Paint(bg);
    // The list is the background under it (taken before the frame bands).
    EXPECT_EQ(s.list, Under(bg, Layout().list));
    for (int i = 0; i < kListRows; ++i) EXPECT_EQ(s.rows[i], s.list.copy(0, i * 5, 100, 5)) << i;
    // A row outlives the list it was cut from, and painting over the list
    // does not reach it.
    const QImage row = s.rows[3];
    const QImage rowPixels = row.copy();
    s.list.fill(Qt::black);
    EXPECT_EQ(row, rowPixels);
    s.list = QImage();
    s.rows = {};
    EXPECT_EQ(row, rowPixels);
    // Page buttons show the finished window under them.
    EXPECT_EQ(s.pageA[0], Under(s.window, Layout().pageA[0]));
    EXPECT_EQ(s.pageA[7], Under(s.window, Layout().pageA[7]));
    EXPECT_TRUE(s.pageA[1].isNull());

    // Another skin: no trace of the first background on the buttons.
    QImage other(Layout().window, QImage::Format_RGB32);
    other.fill(qRgb(1, 200, 3));
    const SkinPictures t = Paint(other);
    EXPECT_EQ(t.pageA[0].pixel(15, 10), qRgb(1, 200, 3));
    EXPECT_EQ(t.pageA[0], Under(t.window, Layout().pageA[0]));
}

TEST_F(PaintSkinTest, FacesBlendOverTheBackgroundUnderEachButton) {
    const QImage bg = Gradient(Layout().window);
    SavePng(folder / "A.png", {33, 33}, QColor(0, 0, 0, 0));          // fully transparent
    SavePng(folder / "B.png", {33, 33}, QColor(255, 255, 255, 255));  // opaque white
    std::ofstream(folder / "C.png", std::ios::binary) << "\x89PNG\r\n\x1a\n broken";
    const SkinPictures s = Paint(bg);
    const QImage under = Under(s.window, Layout().playS[0]);
    EXPECT_EQ(Plain(s.playS[0].normal), under);  // exactly the background
    EXPECT_EQ(Plain(s.playS[0].hot).pixel(16, 16), qRgb(255, 255, 255));
    EXPECT_EQ(Plain(s.playS[0].down), under);  // undecodable: the plain background
    EXPECT_EQ((std::array<bool, 3>{true, true, false}), s.facesDecoded);
    // The smaller mute button gets the faces brought to its size.
    EXPECT_EQ(s.playS[5].normal.size(), QSize(24, 24));
    EXPECT_EQ(s.playS[5].hot.pixel(12, 12), qRgb(255, 255, 255));
    // No face image at all: every face is the background.
    fs::remove(folder / "A.png");
    EXPECT_EQ(Plain(Paint(bg).playS[0].normal), under);
}

TEST_F(PaintSkinTest, HalfTransparentFaceIsAnExactBlend) {
    const QImage bg = Gradient(Layout().window);
    SavePng(folder / "A.png", {33, 33}, QColor(255, 255, 255, 128));
    const SkinPictures s = Paint(bg);
    const QImage under = Under(s.window, Layout().playS[0]);
    for (QPoint p : {QPoint(0, 0), QPoint(16, 16), QPoint(32, 32)}) {
        const QRgb b = under.pixel(p), f = s.playS[0].normal.pixel(p);
        // The decoder's blend: (image * a + background * (255 - a) + 255) / 256.
        EXPECT_EQ(qRed(f), (255 * 128 + qRed(b) * 127 + 255) >> 8);
        EXPECT_EQ(qBlue(f), (255 * 128 + qBlue(b) * 127 + 255) >> 8);
    }
}

TEST_F(PaintSkinTest, DoubleScaleUsesTheDoubledImages) {
    SavePng(folder / "A.png", {33, 33}, Qt::red);
    SavePng(folder / "A@2x.png", {66, 66}, Qt::blue);
    QImage bg2 = Gradient(Layout().window * 2);
    bg2.setDevicePixelRatio(2);
    const SkinPictures s = Paint(bg2, 2);
    EXPECT_EQ(s.window.size(), Layout().window * 2);
    EXPECT_EQ(s.window.devicePixelRatio(), 2.0);
    EXPECT_EQ(Plain(s.list), Under(bg2, Layout().list, 2));
    EXPECT_EQ(s.playS[0].normal.size(), QSize(66, 66));
    EXPECT_EQ(s.playS[0].normal.pixel(30, 30), qRgb(0, 0, 255));
    EXPECT_EQ(s.rows[9].size(), QSize(200, 10));
    // The frame lines are two pixels wide.
    const QRgb back = bg2.pixel(2, 100);
    EXPECT_NE(s.window.pixel(1, 100), back);
}

TEST(SkinPainting, SymbolColourReadsOnTheFace) {
    QImage dark(20, 20, QImage::Format_RGB32), light(20, 20, QImage::Format_RGB32);
    dark.fill(qRgb(10, 30, 70));
    light.fill(qRgb(240, 230, 200));
    EXPECT_GT(qGray(SymbolColourOn(dark).rgb()), 200);
    EXPECT_LT(qGray(SymbolColourOn(light).rgb()), 80);
}

}  // namespace

namespace {

TEST(ListPaint, LitRowsBlendOverWhiteAndTextsTakeTheirColours) {
    ListLook look;
    look.background = QImage(100, 50, QImage::Format_RGB32);
    look.background.fill(qRgb(10, 20, 40));
    for (int i = 0; i < 10; ++i) look.rows[i] = look.background.copy(0, i * 5, 100, 5);
    look.rowHeight = 5;
    look.text = QColor(0, 255, 0);
    look.selected = QColor(255, 0, 0);
    std::array<int, 10> alphas;
    alphas.fill(255);
    alphas[2] = 120;
    const QImage plain = ComposeList(look, {100, 50}, {}, -1, alphas);
    EXPECT_EQ(plain.pixel(50, 2), qRgb(10, 20, 40));
    EXPECT_EQ(plain.pixel(50, 12), BlendPixel(qRgb(10, 20, 40), qRgb(255, 255, 255), 120));
    EXPECT_EQ(plain.pixel(50, 17), qRgb(10, 20, 40));

    look.rowHeight = 25;
    look.rows = {};
    look.font.setPixelSize(14);
    const QImage text = ComposeList(look, {100, 50}, {"W", "W"}, 1, {255, 255, 255, 255, 255, 255, 255, 255, 255, 255});
    bool green = false, red = false;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            green |= y < 25 && text.pixel(x, y) == qRgb(0, 255, 0);
            red |= y >= 25 && text.pixel(x, y) == qRgb(255, 0, 0);
        }
    EXPECT_TRUE(green);
    EXPECT_TRUE(red);
}

}  // namespace

namespace {

TEST(WindowShape, TopCornersRoundBottomCornersSquare) {
    const QRegion r = WindowOutline({330, 662});
    for (QPoint out : {QPoint(0, 0), QPoint(329, 0), QPoint(1, 0), QPoint(0, 1)}) EXPECT_FALSE(r.contains(out)) << out.x() << "," << out.y();
    for (QPoint in : {QPoint(5, 0), QPoint(0, 5), QPoint(329, 5), QPoint(0, 661), QPoint(329, 661), QPoint(165, 300)})
        EXPECT_TRUE(r.contains(in)) << in.x() << "," << in.y();
}

}  // namespace
