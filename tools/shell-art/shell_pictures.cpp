#include "shell_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdint>

namespace tavo::art {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A fixed pseudo-random sequence (the stars land in the same places on
// every run and every machine).
class Sequence {
public:
    explicit Sequence(std::uint32_t seed) : state_(seed) {}
    double Next() {  // in [0, 1)
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) / double(1u << 24);
    }

private:
    std::uint32_t state_;
};

QImage NewCanvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    return image;
}

// The icon's blue, lighter at the top left, with a glow behind `glowAt`.
void Backdrop(QPainter& p, const QSize& size, const QPointF& glowAt, double glowRadius) {
    QLinearGradient sky(0, 0, size.width() * 0.35, size.height());
    sky.setColorAt(0.0, QColor(0x3a, 0x93, 0xf5));
    sky.setColorAt(0.45, QColor(0x16, 0x55, 0xbc));
    sky.setColorAt(1.0, QColor(0x08, 0x1f, 0x55));
    p.fillRect(QRect(QPoint(0, 0), size), sky);

    QRadialGradient glow(glowAt, glowRadius);
    glow.setColorAt(0.0, QColor(0x6f, 0xe3, 0xff, 120));
    glow.setColorAt(0.5, QColor(0x6f, 0xe3, 0xff, 40));
    glow.setColorAt(1.0, QColor(0x6f, 0xe3, 0xff, 0));
    p.fillRect(QRect(QPoint(0, 0), size), glow);
}

// The glass sheen over the upper part.
void Gloss(QPainter& p, const QSize& size, double depth) {
    QPainterPath sheen;
    sheen.moveTo(0, 0);
    sheen.lineTo(size.width(), 0);
    sheen.lineTo(size.width(), depth * 0.55);
    sheen.cubicTo(size.width() * 0.65, depth * 1.05, size.width() * 0.3, depth * 0.7, 0, depth);
    sheen.closeSubpath();
    QLinearGradient shine(0, 0, 0, depth);
    shine.setColorAt(0.0, QColor(255, 255, 255, 60));
    shine.setColorAt(1.0, QColor(255, 255, 255, 4));
    p.fillPath(sheen, shine);
}

void Stars(QPainter& p, const QRectF& area, int count, std::uint32_t seed) {
    Sequence rnd(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(area.left() + rnd.Next() * area.width(), area.top() + rnd.Next() * area.height());
        const double r = 0.6 + rnd.Next() * 1.1;
        const int alpha = 90 + static_cast<int>(rnd.Next() * 150);
        QRadialGradient halo(at, r * 3.2);
        halo.setColorAt(0.0, QColor(220, 240, 255, alpha / 2));
        halo.setColorAt(1.0, QColor(220, 240, 255, 0));
        p.setBrush(halo);
        p.drawEllipse(at, r * 3.2, r * 3.2);
        p.setBrush(QColor(255, 255, 255, alpha));
        p.drawEllipse(at, r, r);
    }
}

// The golden crescent of the icon: circle (c, r) without an offset circle.
void Crescent(QPainter& p, const QPointF& c, double r) {
    QRadialGradient halo(c, r * 2.4);
    halo.setColorAt(0.0, QColor(255, 220, 140, 70));
    halo.setColorAt(1.0, QColor(255, 220, 140, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, r * 2.4, r * 2.4);

    QPainterPath moon;
    moon.addEllipse(c, r, r);
    QPainterPath bite;
    bite.addEllipse(c + QPointF(r * 0.45, -r * 0.32), r * 0.86, r * 0.86);
    QLinearGradient gold(c - QPointF(r, r), c + QPointF(r, r));
    gold.setColorAt(0.0, QColor(0xff, 0xf1, 0xa8));
    gold.setColorAt(1.0, QColor(0xf5, 0xa6, 0x23));
    p.fillPath(moon.subtracted(bite), gold);
}

// Sound waves flowing across the picture between `top` and `bottom`.
void Waves(QPainter& p, const QSize& size, double top, double bottom, int count) {
    const double w = size.width();
    const double mid = (top + bottom) / 2;
    const double amplitude = (bottom - top) / 2;
    for (int k = 0; k < count; ++k) {
        const double phase = k * 0.9;
        const double freq = 1.6 + 0.35 * k;
        const double amp = amplitude * (0.45 + 0.55 * std::sin(0.7 + k * 1.3) * std::sin(0.7 + k * 1.3));
        QPainterPath wave;
        for (int x = 0; x <= static_cast<int>(w); x += 2) {
            const double t = x / w;
            // The swell grows towards the right, like a voice rising.
            const double envelope = 0.35 + 0.65 * std::sin(kPi * (0.15 + 0.8 * t));
            const double y = mid + amp * envelope * std::sin(2 * kPi * freq * t + phase) +
                             (k - count / 2.0) * 3.0;
            if (x == 0)
                wave.moveTo(x, y);
            else
                wave.lineTo(x, y);
        }
        const int alpha = 150 - k * 22;
        QLinearGradient stroke(0, 0, w, 0);
        stroke.setColorAt(0.0, QColor(0x9e, 0xe8, 0xff, 0));
        stroke.setColorAt(0.3, QColor(0x9e, 0xe8, 0xff, std::max(alpha, 30)));
        stroke.setColorAt(1.0, QColor(0xd8, 0xf4, 0xff, std::max(alpha - 40, 20)));
        p.setPen(QPen(QBrush(stroke), k == 0 ? 2.2 : 1.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
    }
}

// A row of spectrum bars rising from `base`, fading to the left.
void Bars(QPainter& p, double left, double right, double base, double height, int count) {
    Sequence rnd(0x5eed);
    const double step = (right - left) / count;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / (count - 1);
        const double h = height * (0.25 + 0.75 * std::fabs(std::sin(i * 0.55 + 0.3)) * (0.6 + 0.4 * rnd.Next()));
        const QRectF bar(left + i * step + step * 0.2, base - h, step * 0.6, h);
        QLinearGradient fill(0, base - height, 0, base);
        fill.setColorAt(0.0, QColor(0xb8, 0xe4, 0xff, static_cast<int>(20 + 70 * t)));
        fill.setColorAt(1.0, QColor(0xb8, 0xe4, 0xff, 0));
        p.setBrush(fill);
        p.drawRoundedRect(bar, step * 0.25, step * 0.25);
    }
}

// The darker band at the foot, with a thin light line along its top.
void FootBand(QPainter& p, const QSize& size, double height) {
    const double top = size.height() - height;
    QLinearGradient band(0, top, 0, size.height());
    band.setColorAt(0.0, QColor(2, 14, 44, 90));
    band.setColorAt(1.0, QColor(2, 14, 44, 170));
    p.fillRect(QRectF(0, top, size.width(), height), band);
    QLinearGradient line(0, 0, size.width(), 0);
    line.setColorAt(0.0, QColor(160, 220, 255, 0));
    line.setColorAt(0.5, QColor(160, 220, 255, 110));
    line.setColorAt(1.0, QColor(160, 220, 255, 0));
    p.fillRect(QRectF(0, top, size.width(), 1), line);
}

// A one-pixel light rim, so the borderless window has an edge.
void Rim(QPainter& p, const QSize& size) {
    p.setPen(QPen(QColor(190, 225, 255, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
}

QImage Finish(QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

}  // namespace

QImage WelcomePicture() {
    const QSize size(440, 260);
    QImage image = NewCanvas(size.width(), size.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Backdrop(p, size, QPointF(120, 118), 230);
    Stars(p, QRectF(150, 10, 280, 70), 26, 0x7a40);
    Stars(p, QRectF(10, 10, 140, 50), 8, 0x2010);
    Crescent(p, QPointF(388, 50), 20);
    Bars(p, 250, 430, 222, 46, 16);
    Waves(p, size, 150, 206, 5);
    Gloss(p, size, 96);
    FootBand(p, size, 46);
    Rim(p, size);
    p.end();
    return Finish(image);
}

QImage AboutPicture() {
    const QSize size(400, 250);
    QImage image = NewCanvas(size.width(), size.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Backdrop(p, size, QPointF(90, 80), 200);
    Stars(p, QRectF(200, 12, 190, 60), 16, 0x3b11);
    Crescent(p, QPointF(356, 44), 15);
    Waves(p, size, 128, 176, 4);
    // A fine rule under the name and the version.
    QLinearGradient rule(34, 0, 366, 0);
    rule.setColorAt(0.0, QColor(200, 235, 255, 0));
    rule.setColorAt(0.2, QColor(200, 235, 255, 120));
    rule.setColorAt(1.0, QColor(200, 235, 255, 0));
    p.fillRect(QRectF(34, 124, 332, 1), rule);
    Gloss(p, size, 84);
    FootBand(p, size, 64);
    Rim(p, size);
    p.end();
    return Finish(image);
}

}  // namespace tavo::art
