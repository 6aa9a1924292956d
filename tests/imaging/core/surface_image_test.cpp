// Pixel surfaces shown as the toolkit's images, and images brought back.
#include "imaging/core/surface_image.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace tavo::imaging {
namespace {

PixelSurface Gradient(int w, int h) {
    PixelSurface s(w, h, kOpaqueBlack);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.SetPixel(x, y, Rgb(x * 10, y * 20, 99));
    return s;
}

TEST(SurfaceImage, ShowsTheSurfacesPixelsWithoutACopy) {
    const PixelSurface s = Gradient(5, 3);
    const QImage image = ToQImage(s);
    ASSERT_EQ(image.size(), QSize(5, 3));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(reinterpret_cast<const Argb*>(image.constBits()), s.Row(0).data());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(image.pixel(x, y), s.Pixel(x, y)) << x << "," << y;
    EXPECT_TRUE(ToQImage(PixelSurface()).isNull());
}

TEST(SurfaceImage, TheImageOutlivesTheSurfaceAndNeitherSeesTheOthersWrites) {
    QImage image;
    {
        PixelSurface s = Gradient(4, 4);
        image = ToQImage(s);
        s.Fill(Rgb(1, 1, 1));  // the surface gets a buffer of its own
        EXPECT_EQ(s.Pixel(2, 2), Rgb(1, 1, 1));
    }
    EXPECT_EQ(image.pixel(2, 2), Rgb(20, 40, 99));

    const PixelSurface kept = Gradient(4, 4);
    QImage painted = ToQImage(kept);
    {
        QPainter p(&painted);
        p.fillRect(painted.rect(), Qt::red);
    }
    EXPECT_EQ(painted.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(kept, Gradient(4, 4));
}

TEST(SurfaceImage, FromImagesOfEveryFormat) {
    struct Case {
        const char* name;
        QImage::Format format;
        QColor colour;
        Argb expected;
    };
    const Case cases[] = {
        {"RGB32", QImage::Format_RGB32, QColor(10, 20, 30), Rgb(10, 20, 30)},
        {"ARGB32 opaque", QImage::Format_ARGB32, QColor(10, 20, 30), Rgb(10, 20, 30)},
        {"ARGB32 transparent: as over black", QImage::Format_ARGB32_Premultiplied, QColor(0, 0, 0, 0), Rgb(0, 0, 0)},
        {"grey", QImage::Format_Grayscale8, QColor(77, 77, 77), Rgb(77, 77, 77)},
    };
    for (const Case& c : cases) {
        QImage image(3, 2, c.format);
        image.fill(c.colour);
        const PixelSurface s = FromQImage(image);
        ASSERT_EQ(s.Size(), QSize(3, 2)) << c.name;
        EXPECT_EQ(s.Pixel(2, 1), c.expected) << c.name;
    }
    EXPECT_TRUE(FromQImage(QImage()).IsNull());
}

TEST(SurfaceImage, RoundTripKeepsEveryPixel) {
    const PixelSurface s = Gradient(7, 5);
    EXPECT_EQ(FromQImage(ToQImage(s)), s);
}

}  // namespace
}  // namespace tavo::imaging
