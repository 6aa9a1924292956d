#pragma once
// Comparing pictures drawn with floating point. The C library's maths and the
// raster engine's blending choose their instructions by CPU at run time, so
// the same drawing can differ in the last bit from one machine to another.
// Two pictures are alike when every channel (alpha included) is within
// `channel` of the other and at most `fraction` of the pixels differ at all:
// loose enough for rounding, tight enough that a changed design (a moved
// shape, another colour, a new gradient) fails.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <sstream>

namespace tavo::test {

struct ImageDiff {
    int maxChannel = 0;         // the largest difference of one channel
    long long differing = 0;    // pixels with any difference
    long long pixels = 0;
};

inline ImageDiff CompareImages(const QImage& a, const QImage& b) {
    ImageDiff d;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    if (x.size() != y.size()) return {256, 0, 0};
    d.pixels = static_cast<long long>(x.width()) * x.height();
    for (int row = 0; row < x.height(); ++row) {
        const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (p[col] == q[col]) continue;
            ++d.differing;
            for (int shift : {0, 8, 16, 24}) {
                const int c = std::abs(static_cast<int>((p[col] >> shift) & 0xFF) - static_cast<int>((q[col] >> shift) & 0xFF));
                if (c > d.maxChannel) d.maxChannel = c;
            }
        }
    }
    return d;
}

// For EXPECT_TRUE(ImagesAlike(drawn, committed)).
inline ::testing::AssertionResult ImagesAlike(const QImage& a, const QImage& b, int channel = 2, double fraction = 0.01) {
    if (a.size() != b.size()) {
        std::ostringstream s;
        s << "sizes differ: " << a.width() << "x" << a.height() << " and " << b.width() << "x" << b.height();
        return ::testing::AssertionFailure() << s.str();
    }
    const ImageDiff d = CompareImages(a, b);
    if (d.maxChannel <= channel && d.differing <= static_cast<long long>(fraction * static_cast<double>(d.pixels)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << d.differing << " of " << d.pixels << " pixels differ, by up to "
                                         << d.maxChannel << " in a channel (allowed: " << channel << " in a channel, "
                                         << fraction * 100 << " % of the pixels)";
}

}  // namespace tavo::test
