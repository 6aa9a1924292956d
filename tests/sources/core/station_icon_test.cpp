// A station's PNG icon read by the program's own decoder, as the directory
// window shows it.
#include "sources/core/station_icon.h"

#include "support/core/png_bytes.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

using test::PngBytes;

TEST(StationIcon, PngPixelsAsWrittenAndTransparentOverWhite) {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(qRgb(10, 20, 30));
    image.setPixel(2, 1, qRgba(0, 0, 0, 0));
    const QImage icon = DecodeStationIcon(PngBytes(image));
    ASSERT_EQ(icon.size(), QSize(3, 2));
    EXPECT_EQ(icon.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(icon.pixel(2, 1), qRgb(255, 255, 255));
}

TEST(StationIcon, RefusedBytesGiveNoIcon) {
    QByteArray cut = PngBytes(QImage(4, 4, QImage::Format_RGB32));
    cut.truncate(cut.size() / 2);
    const QByteArray tooWide = PngBytes(QImage(kMaxStationIconSide + 1, 1, QImage::Format_RGB32));
    for (const QByteArray& bytes : {cut, tooWide, QByteArray("GIF89a"), QByteArray()})
        EXPECT_TRUE(DecodeStationIcon(bytes).isNull()) << bytes.left(8).toHex().constData();
}

}  // namespace
}  // namespace tavo
