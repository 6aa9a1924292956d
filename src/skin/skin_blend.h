#pragma once
// Constant-opacity blending on RGB32 images, exact to the unit: each
// component becomes (source * alpha + destination * (255 - alpha) + 127) / 255,
// so alpha 255 gives the source and 0 the destination unchanged.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

namespace tavo {

// One component blended at `alpha` (0..255).
constexpr int BlendComponent(int source, int destination, int alpha) {
    return (source * alpha + destination * (255 - alpha) + 127) / 255;
}

// One pixel (the result is opaque).
constexpr QRgb BlendPixel(QRgb source, QRgb destination, int alpha) {
    return 0xFF000000u | (static_cast<QRgb>(BlendComponent(qRed(source), qRed(destination), alpha)) << 16) |
           (static_cast<QRgb>(BlendComponent(qGreen(source), qGreen(destination), alpha)) << 8) |
           static_cast<QRgb>(BlendComponent(qBlue(source), qBlue(destination), alpha));
}

// A solid colour over `rect` (pixels of `image`, clipped to it).
void BlendColour(QImage& image, const QRect& rect, QRgb colour, int alpha);

// `source` laid over `image` with its top left at `at`, clipped to both.
void BlendImage(QImage& image, const QPoint& at, const QImage& source, int alpha);

// `source` stretched over the whole of `target`'s size, smoothly; a plain
// copy when the sizes agree. The result is RGB32 with `target`'s size.
QImage Stretched(const QImage& source, const QSize& target);

}  // namespace tavo
