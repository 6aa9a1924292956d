#pragma once
// Comparing pictures drawn with floating point. The C library's maths and the
// raster engine's blending choose their instructions by CPU at run time, and
// compilers contract floating-point expressions differently, so the same
// drawing can differ from one machine or build to another: in the last bit of
// a blend, or by a fraction of a pixel where text is placed. Two pictures are
// alike when at most `fraction` of their pixels differ by more than `channel`
// in any channel (alpha included): loose enough for rounding, tight enough
// that a changed design (a moved shape, another colour, a new gradient) fails.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstdlib>

namespace tavo::test {

struct ImageDiff {
    int maxChannel = 0;       // the largest difference of one channel
    long long over = 0;       // pixels with a channel differing by more than the tolerance
    long long pixels = 0;
    double meanChannel = 0;   // the mean difference over every channel of every pixel
};

inline ImageDiff CompareImages(const QImage& a, const QImage& b, int channel) {
    ImageDiff d;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    if (x.size() != y.size()) return {256, 0, 0, 256};
    d.pixels = static_cast<long long>(x.width()) * x.height();
    long long sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (p[col] == q[col]) continue;
            int worst = 0;
            for (int shift : {0, 8, 16, 24}) {
                const int c = std::abs(static_cast<int>((p[col] >> shift) & 0xFF) - static_cast<int>((q[col] >> shift) & 0xFF));
                worst = std::max(worst, c);
                sum += c;
            }
            d.maxChannel = std::max(d.maxChannel, worst);
            if (worst > channel) ++d.over;
        }
    }
    d.meanChannel = d.pixels ? static_cast<double>(sum) / (4.0 * static_cast<double>(d.pixels)) : 0;
    return d;
}

// For EXPECT_TRUE(ImagesAlike(drawn, committed)).
inline ::testing::AssertionResult ImagesAlike(const QImage& a, const QImage& b, int channel = 2, double fraction = 0.01) {
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << "sizes differ: " << a.width() << "x" << a.height() << " and "
                                             << b.width() << "x" << b.height();
    const ImageDiff d = CompareImages(a, b, channel);
    if (d.over <= static_cast<long long>(fraction * static_cast<double>(d.pixels))) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << d.over << " of " << d.pixels << " pixels differ by more than " << channel
                                         << " in a channel (up to " << d.maxChannel << "; allowed: " << fraction * 100
                                         << " % of the pixels)";
}

}  // namespace tavo::test
