// The bitmap helpers and the picture box they paint into.
#include "imaging/cbitmap.h"
#include "platform/picture_box.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavo::imaging {
namespace {

using CBitmap::RgbQuad;

RgbQuad Grey(uint8_t v) { return RgbQuad{v, v, v, 0}; }

TEST(CBitmapTables, GreyRamps) {
    struct Case {
        int16_t depth;
        bool into256;
        std::vector<uint8_t> levels;
    };
    const Case cases[] = {
        {1, false, {0, 255}},
        {2, false, {0, 85, 170, 255}},
        {4, false, {0, 17, 34, 51, 68, 85, 102, 119, 136, 153, 170, 187, 204, 221, 238, 255}},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> ramp = CBitmap::SetGreyPalette(c.depth, c.into256);
        ASSERT_EQ(ramp.size(), c.levels.size() * 3) << c.depth;
        for (size_t i = 0; i < c.levels.size(); ++i) {
            EXPECT_EQ(ramp[3 * i], c.levels[i]);
            EXPECT_EQ(ramp[3 * i + 2], c.levels[i]);
            const RgbQuad& entry = c.depth == 4 ? CBitmap::Table16()[i] : CBitmap::Table256()[i];
            EXPECT_EQ(entry, Grey(c.levels[i])) << c.depth << " entry " << i;
        }
    }
    const std::vector<uint8_t> r16 = CBitmap::SetGreyPalette(16, false);
    ASSERT_EQ(r16.size(), 768u);
    EXPECT_EQ(CBitmap::Table256()[200], Grey(200));
    CBitmap::SetGreyPalette(4, true);  // into the 8-bit table
    EXPECT_EQ(CBitmap::Table256()[3], Grey(51));
}

TEST(CBitmapTables, MonoAndPalettes) {
    CBitmap::SetMonoColors(0);
    EXPECT_EQ(CBitmap::MonoTable()[0], Grey(255));
    EXPECT_EQ(CBitmap::MonoTable()[1], Grey(0));
    CBitmap::SetMonoPalette(std::vector<uint8_t>{10, 20, 30, 40, 50, 60});
    EXPECT_EQ(CBitmap::MonoTable()[0], (RgbQuad{30, 20, 10, 0}));
    EXPECT_EQ(CBitmap::MonoTable()[1], (RgbQuad{60, 50, 40, 0}));
    CBitmap::SetMonoPalette(std::vector<uint8_t>{10, 20, 30, 40, 50, 60, 70, 80, 90});  // three entries
    EXPECT_EQ(CBitmap::MonoTable()[0], Grey(0));
    EXPECT_EQ(CBitmap::MonoTable()[1], Grey(255));

    std::vector<uint8_t> pal(20 * 3, 7);
    CBitmap::SetPalette16(pal);
    EXPECT_EQ(CBitmap::Table16()[15], Grey(7));  // only 16 taken
    CBitmap::SetPalette256(std::vector<uint8_t>{1, 2, 3});
    EXPECT_EQ(CBitmap::Table256()[0], (RgbQuad{3, 2, 1, 0}));
    EXPECT_EQ(CBitmap::Table256()[1], Grey(0));  // beyond the palette: black
}

TEST(CBitmapMake, RowsOrderPaddingAndHeaders) {
    // 3x2, 24 bits, bottom-up: stride 12; the first buffer row is the bottom.
    std::vector<uint8_t> px(24, 0);
    px[0] = 1, px[1] = 2, px[2] = 3;     // bottom-left B G R
    px[12] = 9, px[13] = 8, px[14] = 7;  // top-left
    CBitmap::MakeDIB24or32(px, 3, 2, false, 1);
    ASSERT_TRUE(CBitmap::HasBitmap());
    EXPECT_EQ(CBitmap::Bitmap().Pixel(0, 1), Rgb(3, 2, 1));
    EXPECT_EQ(CBitmap::Bitmap().Pixel(0, 0), Rgb(7, 8, 9));
    EXPECT_EQ(CBitmap::Header(24).biHeight, 2);
    EXPECT_EQ(CBitmap::Header(24).biBitCount, 24);
    CBitmap::MakeDIB24or32(px, 3, 2, true, 1);
    EXPECT_EQ(CBitmap::Header(24).biHeight, -2);
    EXPECT_EQ(CBitmap::Bitmap().Pixel(0, 0), Rgb(3, 2, 1));

    // 4-bit: high nibble first; a colour count limits the table.
    CBitmap::SetPalette16(std::vector<uint8_t>{0, 0, 0, 255, 0, 0, 0, 255, 0});
    CBitmap::MakeDIB4(std::vector<uint8_t>{0x12, 0, 0, 0}, 3, 1, true, 2);
    EXPECT_EQ(CBitmap::Bitmap().Pixel(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(CBitmap::Bitmap().Pixel(1, 0), Rgb(0, 0, 0));  // entry 2 beyond the count of 2
    EXPECT_EQ(CBitmap::Header(4).biClrUsed, 2);

    // A buffer shorter than the rows: the rest reads as zeros, nothing beyond is read.
    CBitmap::SetPalette256(std::vector<uint8_t>{0, 0, 0, 50, 60, 70});
    CBitmap::MakeDIB8(std::vector<uint8_t>{1, 1}, 4, 4, true, 0);
    EXPECT_EQ(CBitmap::Bitmap().Pixel(1, 0), Rgb(50, 60, 70));
    EXPECT_EQ(CBitmap::Bitmap().Pixel(2, 0), Rgb(0, 0, 0));
    EXPECT_EQ(CBitmap::Bitmap().Pixel(3, 3), Rgb(0, 0, 0));
    CBitmap::SetMonoColors(1);
    CBitmap::MakeDIB1(std::vector<uint8_t>{0xA0, 0, 0, 0}, 3, 1, true, 0);
    EXPECT_EQ(CBitmap::Bitmap().Pixel(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(CBitmap::Bitmap().Pixel(1, 0), Rgb(0, 0, 0));
    CBitmap::ReleaseBitmap();
}

TEST(CBitmapPaint, SizesTheBoxPaintsAndKeepsThePicture) {
    platform::PictureBox box(5, 5);
    box.SetScaleMode(platform::kScalePixels);
    std::vector<uint8_t> px(2 * 2 * 4, 0);
    px[0] = 10, px[1] = 20, px[2] = 30;
    CBitmap::MakeDIB24or32(px, 2, 2, true, 0);
    CBitmap::PaintDIB(2, 2, &box, true, 0, 0, false);
    EXPECT_FALSE(CBitmap::HasBitmap());  // released
    EXPECT_EQ(box.InnerWidthPx(), 2);
    EXPECT_EQ(box.Width(), 30);  // twips
    EXPECT_EQ(box.ScaleMode(), platform::kScalePixels);  // restored
    EXPECT_EQ(box.Pixel(0, 0), Rgb(30, 20, 10));
    // The painting is the persistent picture: it survives a repaint.
    box.Image().Fill(Rgb(1, 1, 1));
    box.Cls();
    EXPECT_EQ(box.Pixel(0, 0), Rgb(30, 20, 10));
}

TEST(CBitmapPaint, WithoutBitmapOnlyClearsAndSizes) {
    platform::PictureBox box(4, 4);
    box.SetBackColor(Rgb(9, 9, 9));
    box.Image().Fill(Rgb(200, 0, 0));
    CBitmap::ReleaseBitmap();
    CBitmap::PaintDIB(3, 2, &box, true, 0, 0, false);
    EXPECT_EQ(box.InnerWidthPx(), 3);
    EXPECT_EQ(box.InnerHeightPx(), 2);
    EXPECT_EQ(box.Pixel(2, 1), Rgb(9, 9, 9));
    EXPECT_EQ(box.Picture().Pixel(0, 0), Rgb(9, 9, 9));
}

TEST(CBitmapPaint, BorderedBoxGrowsByItsBorder) {
    platform::PictureBox box(10, 10, 1);
    std::vector<uint8_t> px(3 * 3 * 4, 0xFF);
    CBitmap::MakeDIB24or32(px, 3, 3, true, 0);
    CBitmap::PaintDIB(3, 3, &box, true, 0, 0, false);
    // Outer size set to 3 px, then grown by the border: inner 3 x 3.
    EXPECT_EQ(box.InnerWidthPx(), 3);
    EXPECT_EQ(box.Width(), (3 + 2) * 15);
    EXPECT_EQ(box.Pixel(2, 2), Rgb(255, 255, 255));
}

TEST(CBitmapPaint, KeepSizePaintsAtNaturalSizeAndLeavesTheBox) {
    platform::PictureBox box(6, 6);
    std::vector<uint8_t> px(2 * 2 * 4, 0x40);
    CBitmap::MakeDIB24or32(px, 2, 2, true, 0);
    CBitmap::PaintDIB(2, 2, &box, true, 3, 3, true);
    EXPECT_EQ(box.InnerWidthPx(), 6);
    EXPECT_EQ(box.Pixel(4, 4), Rgb(0x40, 0x40, 0x40));
    EXPECT_EQ(box.Pixel(2, 2), Rgb(255, 255, 255));
}

TEST(PictureBox, SizesAndScales) {
    platform::PictureBox parent(100, 100);
    platform::PictureBox box(4, 3, 1, &parent);
    EXPECT_EQ(box.Width(), 6 * 15);
    EXPECT_EQ(box.ScaleWidth(), 4 * 15);
    box.SetScaleMode(platform::kScalePixels);
    EXPECT_EQ(box.ScaleHeight(), 3);
    box.SetHeight(10 * 15);
    EXPECT_EQ(box.InnerHeightPx(), 8);
    EXPECT_EQ(box.Parent(), &parent);
    EXPECT_EQ(box.Pixel(-1, 0), Rgb(0, 0, 0));
    EXPECT_EQ(box.Pixel(99, 0), Rgb(0, 0, 0));
    box.SetWidth(0);
    EXPECT_TRUE(box.Image().IsNull());
    box.Cls();  // nothing to clear, no crash
}

}  // namespace
}  // namespace tavo::imaging
