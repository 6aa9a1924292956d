#include "lyrics/ui/lrc_paint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

namespace tavo {

LrcGlyph LrcGlyphForCaption(QChar caption) {
    switch (caption.unicode()) {
        case u'4': return LrcGlyph::Play;
        case u';': return LrcGlyph::Pause;
        case u'<': return LrcGlyph::Stop;
        case u'7': return LrcGlyph::Previous;
        case u'8': return LrcGlyph::Next;
        case u'X': return LrcGlyph::Speaker;
        case u'.': return LrcGlyph::ShowMain;
        default: return LrcGlyph::None;
    }
}

namespace {

QPolygonF Triangle(QPointF a, QPointF b, QPointF c) { return QPolygonF({a, b, c}); }

}  // namespace

void PaintLrcGlyph(QPainter& p, const QRectF& box, QChar caption, const QColor& color) {
    const LrcGlyph glyph = LrcGlyphForCaption(caption);
    if (glyph == LrcGlyph::None) return;

    // A square of 60% of the smaller side, centred.
    const qreal s = std::min(box.width(), box.height()) * 0.6;
    const QRectF r(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
    const qreal l = r.left(), t = r.top(), w = r.width(), h = r.height();

    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    switch (glyph) {
        case LrcGlyph::Play:
            p.drawPolygon(Triangle({l + w * 0.15, t}, {l + w * 0.95, t + h / 2}, {l + w * 0.15, t + h}));
            break;
        case LrcGlyph::Pause:
            p.drawRect(QRectF(l + w * 0.12, t, w * 0.28, h));
            p.drawRect(QRectF(l + w * 0.60, t, w * 0.28, h));
            break;
        case LrcGlyph::Stop:
            p.drawRect(QRectF(l + w * 0.08, t + h * 0.08, w * 0.84, h * 0.84));
            break;
        case LrcGlyph::Previous:
            p.drawRect(QRectF(l, t, w * 0.16, h));
            p.drawPolygon(Triangle({l + w * 0.16, t + h / 2}, {l + w * 0.58, t}, {l + w * 0.58, t + h}));
            p.drawPolygon(Triangle({l + w * 0.58, t + h / 2}, {l + w, t}, {l + w, t + h}));
            break;
        case LrcGlyph::Next:
            p.drawPolygon(Triangle({l, t}, {l + w * 0.42, t + h / 2}, {l, t + h}));
            p.drawPolygon(Triangle({l + w * 0.42, t}, {l + w * 0.84, t + h / 2}, {l + w * 0.42, t + h}));
            p.drawRect(QRectF(l + w * 0.84, t, w * 0.16, h));
            break;
        case LrcGlyph::Speaker: {
            p.drawRect(QRectF(l, t + h * 0.32, w * 0.22, h * 0.36));
            p.drawPolygon(QPolygonF({{l + w * 0.22, t + h * 0.32},
                                     {l + w * 0.55, t},
                                     {l + w * 0.55, t + h},
                                     {l + w * 0.22, t + h * 0.68}}));
            QPen pen(color, std::max<qreal>(1.0, w * 0.09));
            pen.setCapStyle(Qt::RoundCap);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(l + w * 0.40, t + h * 0.25, w * 0.36, h * 0.5), -50 * 16, 100 * 16);
            p.drawArc(QRectF(l + w * 0.35, t + h * 0.05, w * 0.62, h * 0.9), -50 * 16, 100 * 16);
            break;
        }
        case LrcGlyph::ShowMain: {
            // A small window: title bar and frame.
            p.drawRect(QRectF(l, t + h * 0.1, w, h * 0.25));
            QPen pen(color, std::max<qreal>(1.0, w * 0.09));
            pen.setJoinStyle(Qt::MiterJoin);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(l + w * 0.05, t + h * 0.15, w * 0.9, h * 0.75));
            break;
        }
        case LrcGlyph::None:
            break;
    }
    p.restore();
}

void PaintLrcSurface(QPainter& p, const QRectF& box) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, QColor(0xF4, 0xF8, 0xFC));
    fill.setColorAt(1.0, QColor(0xC8, 0xD8, 0xE8));
    p.setPen(QPen(QColor(0x6A, 0x8C, 0xAE), 1.0));
    p.setBrush(fill);
    const QRectF r = box.adjusted(0.5, 0.5, -0.5, -0.5);
    p.drawRoundedRect(r, 6, 6);
    p.restore();
}

}  // namespace tavo
