// Round glass faces for the playback buttons.
#include "art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace tavo::art {

namespace {

QColor Alpha(QColor c, int a) {
    c.setAlpha(a);
    return c;
}

}  // namespace

QImage GlassFace(const FaceStyle& s, FaceState state, int size, int scale) {
    QImage img(size * scale, size * scale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(scale, scale);

    const qreal c = size / 2.0;
    const qreal R = size / 2.0 - 2.5;  // the body; the rest is shadow and halo
    const bool lit = state == FaceState::Lit, pressed = state == FaceState::Pressed;
    const QPointF centre(c, c + (pressed ? 0.5 : 0.0));

    // Soft shadow under the body (a halo of the glow colour when lit).
    {
        QRadialGradient g(QPointF(c, c + (pressed ? 0.6 : 1.2)), c);
        const QColor base = lit ? s.glow : QColor(0, 0, 0);
        const int strength = lit ? 170 : pressed ? 50 : 90;
        g.setColorAt(0.0, Alpha(base, strength));
        g.setColorAt(R / c, Alpha(base, strength));
        g.setColorAt(1.0, Alpha(base, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(QPointF(c, c + (pressed ? 0.6 : 1.2)), c, c);
    }

    QPainterPath body;
    body.addEllipse(centre, R, R);

    // Body: a vertical gradient, lighter when lit, darker and turned over
    // when pressed.
    QColor top = s.top, bottom = s.bottom;
    if (lit) {
        top = top.lighter(118);
        bottom = bottom.lighter(130);
    } else if (pressed) {
        std::swap(top, bottom);
        top = top.darker(125);
        bottom = bottom.darker(105);
    }
    {
        QLinearGradient g(centre.x(), centre.y() - R, centre.x(), centre.y() + R);
        g.setColorAt(0.0, top);
        g.setColorAt(1.0, bottom);
        p.fillPath(body, g);
    }
    // Light coming back through the glass at the bottom.
    {
        QRadialGradient g(QPointF(centre.x(), centre.y() + R * 0.95), R * 1.05);
        g.setColorAt(0.0, Alpha(s.top.lighter(150), pressed ? 40 : 110));
        g.setColorAt(1.0, Alpha(s.top.lighter(150), 0));
        p.fillPath(body, g);
    }
    // Pressed: a shadow falling in from the top edge.
    if (pressed) {
        QRadialGradient g(QPointF(centre.x(), centre.y() + R * 0.35), R * 1.25);
        g.setColorAt(0.7, QColor(0, 0, 0, 0));
        g.setColorAt(1.0, QColor(0, 0, 0, 110));
        p.fillPath(body, g);
    }

    // Rim, and a faint inner ring.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(lit ? s.glow.lighter(120) : s.rim, 1.0));
    p.drawEllipse(centre, R, R);
    p.setPen(QPen(QColor(255, 255, 255, pressed ? 18 : 45), 0.8));
    p.drawEllipse(centre, R - 1.2, R - 1.2);

    // Gloss: the upper highlight, cut by the body.
    {
        QPainterPath gloss;
        gloss.addEllipse(QRectF(centre.x() - R * 0.72, centre.y() - R * 0.93, R * 1.44, R * 0.95));
        gloss = gloss.intersected(body);
        const int a = pressed ? s.gloss / 3 : lit ? s.gloss + 25 : s.gloss;
        QLinearGradient g(0, centre.y() - R, 0, centre.y());
        g.setColorAt(0.0, QColor(255, 255, 255, std::min(a, 255)));
        g.setColorAt(1.0, QColor(255, 255, 255, 6));
        p.fillPath(gloss, g);
    }
    p.end();
    return img;
}

}  // namespace tavo::art
