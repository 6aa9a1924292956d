// The background pictures of the main window, drawn for its layout.
#include "art.h"

#include "skin/main_layout.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace tavo::art {

namespace {

QColor Alpha(QColor c, int a) {
    c.setAlpha(a);
    return c;
}

void Glow(QPainter& p, QPointF at, qreal r, QColor c, int alpha) {
    QRadialGradient g(at, r);
    g.setColorAt(0.0, Alpha(c, alpha));
    g.setColorAt(0.45, Alpha(c, alpha * 2 / 5));
    g.setColorAt(1.0, Alpha(c, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(at, r, r);
}

// A recessed panel behind a group of controls.
void Panel(QPainter& p, const QRectF& r, QColor fill, QColor edge, QColor shine, qreal radius) {
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(edge, 1.0));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    // A light line along the lower edge, as on a bevelled glass plate.
    QLinearGradient g(r.left(), 0, r.right(), 0);
    g.setColorAt(0.0, Alpha(shine, 0));
    g.setColorAt(0.5, shine);
    g.setColorAt(1.0, Alpha(shine, 0));
    p.setPen(QPen(QBrush(g), 1.0));
    p.drawLine(QPointF(r.left() + radius, r.bottom() + 0.5), QPointF(r.right() - radius, r.bottom() + 0.5));
}

// A circuit trace: right-angled segments ending in a small ring.
void Trace(QPainter& p, std::initializer_list<QPointF> pts, QColor c) {
    QPainterPath path;
    bool first = true;
    QPointF last;
    for (const QPointF& pt : pts) {
        if (first) path.moveTo(pt);
        else path.lineTo(pt);
        first = false;
        last = pt;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(path);
    p.setBrush(c);
    p.setPen(Qt::NoPen);
    p.drawEllipse(*pts.begin(), 1.6, 1.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c, 1.0));
    p.drawEllipse(last, 2.4, 2.4);
}

void Hexagon(QPainter& p, QPointF centre, qreal r) {
    QPolygonF hex;
    for (int i = 0; i < 6; ++i) {
        const qreal a = M_PI / 3 * i + M_PI / 6;
        hex << QPointF(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
    }
    p.drawPolygon(hex);
}

}  // namespace

void PaintBlueTech(QPainter& p, const QSize& size) {
    const qreal W = size.width(), H = size.height();
    const MainLayout l = MainWindowLayout(true);

    // Deep blue, lighter at the top.
    QLinearGradient base(0, 0, 0, H);
    base.setColorAt(0.0, QColor(0x12, 0x33, 0x6A));
    base.setColorAt(0.35, QColor(0x0A, 0x20, 0x4A));
    base.setColorAt(1.0, QColor(0x04, 0x0E, 0x24));
    p.fillRect(QRectF(0, 0, W, H), base);

    Glow(p, {W * 0.86, H * 0.07}, W * 0.85, QColor(0x2E, 0x8B, 0xFF), 110);
    Glow(p, {W * 0.05, H * 0.86}, W * 0.8, QColor(0x17, 0x5C, 0xC0), 70);
    Glow(p, {W * 0.5, H * 0.66}, W * 0.45, QColor(0x00, 0xB4, 0xFF), 28);

    // A fine grid, fading towards the bottom.
    for (qreal x = 5.5; x < W; x += 16) {
        QLinearGradient g(0, 0, 0, H);
        g.setColorAt(0.0, QColor(0x6C, 0xB8, 0xFF, 20));
        g.setColorAt(1.0, QColor(0x6C, 0xB8, 0xFF, 4));
        p.setPen(QPen(QBrush(g), 0.6));
        p.drawLine(QPointF(x, 0), QPointF(x, H));
    }
    for (qreal y = 5.5; y < H; y += 16) {
        p.setPen(QPen(QColor(0x6C, 0xB8, 0xFF, static_cast<int>(18 - 14 * y / H)), 0.6));
        p.drawLine(QPointF(0, y), QPointF(W, y));
    }

    // Honeycomb in the upper right.
    p.setBrush(Qt::NoBrush);
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 6; ++col) {
            const QPointF c(W - 12 - col * 17.3 - (row % 2) * 8.66, 14 + row * 15);
            const qreal d = std::hypot(W - c.x(), c.y());
            const int a = std::max(0, static_cast<int>(60 - d * 0.55));
            if (a <= 0) continue;
            p.setPen(QPen(QColor(0x7F, 0xC8, 0xFF, a), 0.8));
            Hexagon(p, c, 9.5);
        }

    // A sweep of light across the window.
    {
        QPainterPath band;
        band.moveTo(0, H * 0.22);
        band.cubicTo(W * 0.35, H * 0.12, W * 0.65, H * 0.3, W, H * 0.16);
        band.lineTo(W, H * 0.22);
        band.cubicTo(W * 0.62, H * 0.36, W * 0.3, H * 0.19, 0, H * 0.3);
        band.closeSubpath();
        QLinearGradient g(0, 0, W, 0);
        g.setColorAt(0.0, QColor(0x8F, 0xD4, 0xFF, 0));
        g.setColorAt(0.55, QColor(0x8F, 0xD4, 0xFF, 26));
        g.setColorAt(1.0, QColor(0x8F, 0xD4, 0xFF, 8));
        p.setPen(Qt::NoPen);
        p.fillPath(band, g);
    }

    // Rings behind the playback row.
    p.setBrush(Qt::NoBrush);
    const QPointF hub(W * 0.5, l.playS[0].center().y());
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(QColor(0x5A, 0xB4, 0xFF, 34 - i * 7), 1.0));
        p.drawEllipse(hub, 120.0 + i * 26, 26.0 + i * 7);
    }

    // Circuit traces in the margins.
    const QColor trace(0x62, 0xC0, 0xFF, 70);
    Trace(p, {{4, 150}, {4, 200}, {8, 204}, {8, 260}}, trace);
    Trace(p, {{W - 5, 200}, {W - 5, 300}, {W - 9, 304}, {W - 9, 340}}, trace);
    Trace(p, {{20, 416}, {40, 416}, {48, 424}, {48, 446}}, trace);
    Trace(p, {{W - 20, 418}, {W - 50, 418}, {W - 56, 424}, {W - 56, 452}}, trace);

    // Panels: the list, the calendar.
    Panel(p, QRectF(l.list).adjusted(-4, -3, 4, 3), QColor(0x03, 0x10, 0x2A, 150), QColor(0x4C, 0x9B, 0xF0, 90),
          QColor(0x9C, 0xD6, 0xFF, 120), 5);
    if (!l.calendar.isEmpty())
        Panel(p, QRectF(l.calendar).adjusted(-4, -4, 4, 2), QColor(0x03, 0x10, 0x2A, 110),
              QColor(0x4C, 0x9B, 0xF0, 70), QColor(0x9C, 0xD6, 0xFF, 90), 5);
}

void PaintWarmSun(QPainter& p, const QSize& size) {
    const qreal W = size.width(), H = size.height();
    const MainLayout l = MainWindowLayout(true);

    QLinearGradient base(0, 0, 0, H);
    base.setColorAt(0.0, QColor(0xFF, 0xF7, 0xEA));
    base.setColorAt(0.5, QColor(0xFC, 0xE9, 0xD0));
    base.setColorAt(1.0, QColor(0xF5, 0xD3, 0xAA));
    p.fillRect(QRectF(0, 0, W, H), base);

    // The sun in the upper right, its rays and glow.
    const QPointF sun(W * 0.88, H * 0.05);
    Glow(p, sun, W * 0.95, QColor(0xFF, 0xC8, 0x6A), 150);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        const qreal a = M_PI * (0.55 + i * 0.055);
        const qreal spread = 0.018;
        QPolygonF ray;
        ray << sun << QPointF(sun.x() + std::cos(a - spread) * H, sun.y() + std::sin(a - spread) * H)
            << QPointF(sun.x() + std::cos(a + spread) * H, sun.y() + std::sin(a + spread) * H);
        QRadialGradient g(sun, H * 0.9);
        g.setColorAt(0.0, QColor(255, 255, 255, 70));
        g.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setBrush(g);
        p.drawPolygon(ray);
    }
    Glow(p, sun, 46, QColor(0xFF, 0xF6, 0xD8), 230);

    // Drifting light spots.
    const struct {
        qreal x, y, r;
        int a;
    } spots[] = {{0.12, 0.12, 22, 40}, {0.3, 0.05, 12, 45}, {0.62, 0.16, 16, 30},
                 {0.08, 0.6, 26, 30},  {0.93, 0.52, 18, 32}, {0.45, 0.9, 30, 26}};
    for (const auto& s : spots) Glow(p, {W * s.x, H * s.y}, s.r, QColor(0xFF, 0xFF, 0xF2), s.a * 3);

    // Soft dunes along the bottom.
    const struct {
        qreal y0, y1, y2;
        QColor c;
    } dunes[] = {
        {0.80, 0.74, 0.86, QColor(0xF2, 0xB7, 0x7C, 70)},
        {0.88, 0.83, 0.9, QColor(0xEA, 0x9E, 0x62, 60)},
        {0.95, 0.9, 0.97, QColor(0xDE, 0x8A, 0x4E, 55)},
    };
    for (const auto& d : dunes) {
        QPainterPath path;
        path.moveTo(0, H * d.y0);
        path.cubicTo(W * 0.3, H * d.y1, W * 0.6, H * d.y2, W, H * d.y1);
        path.lineTo(W, H);
        path.lineTo(0, H);
        path.closeSubpath();
        p.fillPath(path, d.c);
    }

    Panel(p, QRectF(l.list).adjusted(-4, -3, 4, 3), QColor(255, 255, 255, 140), QColor(0xD8, 0x9A, 0x62, 110),
          QColor(255, 255, 255, 200), 6);
    if (!l.calendar.isEmpty())
        Panel(p, QRectF(l.calendar).adjusted(-4, -4, 4, 2), QColor(255, 255, 255, 110),
              QColor(0xD8, 0x9A, 0x62, 90), QColor(255, 255, 255, 180), 6);
}

}  // namespace tavo::art
