// The pixel surface the decoder paints into: checked access, buffers shared
// until written, and stretched drawing.
#include "imaging/pixel_surface.h"

#include <gtest/gtest.h>

#include <climits>

namespace tavo::imaging {
namespace {

// A w x h surface whose pixel (x, y) is Rgb(x, y, tag).
PixelSurface Numbered(int w, int h, int tag = 0) {
    PixelSurface s(w, h, kOpaqueBlack);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.SetPixel(x, y, Rgb(x, y, tag));
    return s;
}

TEST(PixelSurfaceSize, RefusedSizesGiveANullSurface) {
    struct Case {
        const char* name;
        int w, h;
    };
    const Case cases[] = {{"zero width", 0, 4},           {"negative height", 3, -1},
                          {"over the pixel limit", 1 << 15, 1 << 14}, {"both sides at the int limit", INT_MAX, INT_MAX}};
    for (const Case& c : cases) {
        const PixelSurface filled(c.w, c.h, Rgb(1, 2, 3));
        EXPECT_TRUE(filled.IsNull()) << c.name;
        EXPECT_EQ(filled.Width(), 0) << c.name;
        EXPECT_EQ(filled.Height(), 0) << c.name;
        EXPECT_TRUE(PixelSurface::ForOverwrite(c.w, c.h).IsNull()) << c.name;
    }
    const PixelSurface ok(3, 2, Rgb(1, 2, 3));
    EXPECT_FALSE(ok.IsNull());
    EXPECT_EQ(ok.Size(), QSize(3, 2));
    EXPECT_EQ(ok.Pixel(2, 1), Rgb(1, 2, 3));
}

TEST(PixelSurfaceAccess, OutsideReadsBlackAndWritesNothing) {
    PixelSurface s = Numbered(4, 3, 9);
    const PixelSurface before = s;
    for (const QPoint p : {QPoint(-1, 0), QPoint(0, -1), QPoint(4, 0), QPoint(0, 3), QPoint(INT_MIN, INT_MAX)}) {
        EXPECT_EQ(s.Pixel(p.x(), p.y()), kOpaqueBlack) << p.x() << "," << p.y();
        s.SetPixel(p.x(), p.y(), Rgb(255, 255, 255));
    }
    EXPECT_EQ(s, before);
    EXPECT_TRUE(s.Row(-1).empty());
    EXPECT_TRUE(s.Row(3).empty());
    EXPECT_TRUE(s.MutableRow(3).empty());
    ASSERT_EQ(s.Row(2).size(), 4u);
    EXPECT_EQ(s.Row(2)[3], Rgb(3, 2, 9));

    PixelSurface none;
    EXPECT_EQ(none.Pixel(0, 0), kOpaqueBlack);
    EXPECT_TRUE(none.Row(0).empty());
    none.SetPixel(0, 0, Rgb(1, 1, 1));
    none.Fill(Rgb(1, 1, 1));
    EXPECT_TRUE(none.IsNull());
}

TEST(PixelSurfaceSharing, CopiesShareUntilOneIsWritten) {
    struct Write {
        const char* name;
        void (*apply)(PixelSurface&);
    };
    const Write writes[] = {
        {"SetPixel", [](PixelSurface& s) { s.SetPixel(1, 1, Rgb(200, 0, 0)); }},
        {"Fill", [](PixelSurface& s) { s.Fill(Rgb(200, 0, 0)); }},
        {"MutableRow", [](PixelSurface& s) { s.MutableRow(1)[1] = Rgb(200, 0, 0); }},
        {"Draw", [](PixelSurface& s) { s.Draw(QRect(1, 1, 1, 1), PixelSurface(1, 1, Rgb(200, 0, 0))); }},
    };
    for (const Write& w : writes) {
        const PixelSurface original = Numbered(3, 3);
        PixelSurface copy = original;
        EXPECT_TRUE(copy.SharesBufferWith(original)) << w.name;
        w.apply(copy);
        EXPECT_FALSE(copy.SharesBufferWith(original)) << w.name;
        EXPECT_EQ(copy.Pixel(1, 1), Rgb(200, 0, 0)) << w.name;
        EXPECT_EQ(original.Pixel(1, 1), Rgb(1, 1, 0)) << w.name;
        EXPECT_EQ(original, Numbered(3, 3)) << w.name;
    }
    // A surface that shares with nobody is written where it is.
    PixelSurface alone = Numbered(2, 2);
    const auto buffer = alone.Row(0).data();
    alone.SetPixel(0, 0, Rgb(5, 5, 5));
    EXPECT_EQ(alone.Row(0).data(), buffer);
}

TEST(PixelSurfaceDraw, NaturalSizeStretchAndClipping) {
    const PixelSurface src = Numbered(2, 2, 7);
    struct Case {
        const char* name;
        QRect target;
        QPoint at;     // a pixel of the 6 x 6 destination
        Argb expected;
    };
    const Case cases[] = {
        {"natural size, placed", QRect(3, 1, 2, 2), QPoint(4, 2), Rgb(1, 1, 7)},
        {"natural size, outside the target", QRect(3, 1, 2, 2), QPoint(2, 2), Rgb(9, 9, 9)},
        {"doubled: left half from column 0", QRect(0, 0, 4, 4), QPoint(1, 1), Rgb(0, 0, 7)},
        {"doubled: right half from column 1", QRect(0, 0, 4, 4), QPoint(2, 3), Rgb(1, 1, 7)},
        {"halved: every other pixel", QRect(0, 0, 1, 1), QPoint(0, 0), Rgb(1, 1, 7)},
        {"cut at the left and top edge", QRect(-1, -1, 2, 2), QPoint(0, 0), Rgb(1, 1, 7)},
        {"cut at the right and bottom edge", QRect(5, 5, 2, 2), QPoint(5, 5), Rgb(0, 0, 7)},
        {"wholly outside", QRect(6, 0, 2, 2), QPoint(5, 0), Rgb(9, 9, 9)},
    };
    for (const Case& c : cases) {
        PixelSurface dst(6, 6, Rgb(9, 9, 9));
        dst.Draw(c.target, src);
        EXPECT_EQ(dst.Pixel(c.at.x(), c.at.y()), c.expected) << c.name;
    }
    // Over all of a surface of its own size, the source's pixels are taken
    // over without a copy.
    PixelSurface same(2, 2, Rgb(9, 9, 9));
    same.Draw(same.Rect(), src);
    EXPECT_TRUE(same.SharesBufferWith(src));
}

TEST(PixelSurfaceDraw, OntoItself) {
    PixelSurface s = Numbered(4, 1);
    s.Draw(QRect(1, 0, 4, 1), s);  // shifted right by one
    EXPECT_EQ(s.Pixel(0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(s.Pixel(1, 0), Rgb(0, 0, 0));
    EXPECT_EQ(s.Pixel(2, 0), Rgb(1, 0, 0));
    EXPECT_EQ(s.Pixel(3, 0), Rgb(2, 0, 0));
}

TEST(PixelSurfaceCompare, SizeAndPixels) {
    EXPECT_EQ(PixelSurface(), PixelSurface());
    EXPECT_EQ(Numbered(3, 2), Numbered(3, 2));
    EXPECT_NE(Numbered(3, 2), Numbered(2, 3));
    EXPECT_NE(Numbered(3, 2), Numbered(3, 2, 1));
    EXPECT_NE(PixelSurface(), PixelSurface(1, 1, kOpaqueBlack));
}

TEST(PixelSurfaceColour, ChannelsRoundTrip) {
    const Argb c = Rgb(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0xFF123456u);
    EXPECT_EQ(Red(c), 0x12);
    EXPECT_EQ(Green(c), 0x34);
    EXPECT_EQ(Blue(c), 0x56);
    EXPECT_EQ(Rgb(0x1FF, -1, 256), 0xFFFFFF00u);  // each channel keeps its low byte
}

}  // namespace
}  // namespace tavo::imaging
