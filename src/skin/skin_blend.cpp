#include "skin/skin_blend.h"

#include <QPainter>

#include <algorithm>

namespace tavo {

namespace {

QImage AsRgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
               ? image
               : image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

void BlendColour(QImage& image, const QRect& rect, QRgb colour, int alpha) {
    if (image.isNull()) return;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    const QRect r = rect.intersected(image.rect());
    if (r.isEmpty()) return;
    alpha = std::clamp(alpha, 0, 255);
    // The source's share of every component is the same for the whole rect.
    const int sr = qRed(colour) * alpha + 127, sg = qGreen(colour) * alpha + 127, sb = qBlue(colour) * alpha + 127;
    const int keep = 255 - alpha;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb d = row[x];
            row[x] = 0xFF000000u | (static_cast<QRgb>((sr + qRed(d) * keep) / 255) << 16) |
                     (static_cast<QRgb>((sg + qGreen(d) * keep) / 255) << 8) |
                     static_cast<QRgb>((sb + qBlue(d) * keep) / 255);
        }
    }
}

void BlendImage(QImage& image, const QPoint& at, const QImage& source, int alpha) {
    if (image.isNull() || source.isNull()) return;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    const QImage src = AsRgb32(source);
    const QRect r = QRect(at, src.size()).intersected(image.rect());
    if (r.isEmpty()) return;
    alpha = std::clamp(alpha, 0, 255);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y - at.y()));
        for (int x = r.left(); x <= r.right(); ++x) row[x] = BlendPixel(s[x - at.x()], row[x], alpha);
    }
}

QImage Stretched(const QImage& source, const QSize& target) {
    if (target.isEmpty()) return {};
    if (source.isNull()) return {};
    if (source.size() == target) {
        QImage copy = AsRgb32(source);
        copy.setDevicePixelRatio(1);
        return copy;
    }
    QImage out(target, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    QImage src = source;
    src.setDevicePixelRatio(1);
    p.drawImage(QRect(QPoint(0, 0), target), src);
    return out;
}

}  // namespace tavo
