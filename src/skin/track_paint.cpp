#include "skin/track_paint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tavo {

QStaticText TrackText(const QString& text, const QFont& font) {
    QStaticText t(text);
    t.setTextFormat(Qt::PlainText);
    t.setPerformanceHint(QStaticText::AggressiveCaching);
    t.prepare(QTransform(), font);
    return t;
}

void PaintTrack(QPainter& p, QSize size, const TrackLook& look, const QRect& fill, const QStaticText& text) {
    if (size.isEmpty()) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF outer = QRectF(0, 0, size.width(), size.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = std::min<qreal>(3.0, std::min(size.width(), size.height()) / 2.0);
    QPainterPath shape;
    shape.addRoundedRect(outer, radius, radius);

    // A faint well, then the fill inside the frame.
    QColor well = look.frame;
    well.setAlpha(40);
    p.fillPath(shape, well);
    const QRect inner = QRect(QPoint(0, 0), size).intersected(fill);
    if (!inner.isEmpty()) {
        p.save();
        p.setClipPath(shape);
        p.fillRect(inner, look.fill);
        const bool horizontal = size.width() >= size.height();
        QLinearGradient shine = horizontal ? QLinearGradient(0, 0, 0, size.height()) : QLinearGradient(0, 0, size.width(), 0);
        shine.setColorAt(0.0, QColor(255, 255, 255, 90));
        shine.setColorAt(0.5, QColor(255, 255, 255, 20));
        shine.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.fillRect(inner, shine);
        p.restore();
    }
    p.setPen(QPen(look.frame, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);

    if (!text.text().isEmpty()) {
        p.setFont(look.font);
        // Centred in the track as one line.
        const QSizeF box = text.size();
        const QPointF at((size.width() - box.width()) / 2.0, (size.height() - box.height()) / 2.0);
        QColor shadow = qGray(look.text.rgb()) > 128 ? QColor(0, 0, 0, 110) : QColor(255, 255, 255, 120);
        p.setPen(shadow);
        p.drawStaticText(at + QPointF(0, 1), text);
        p.setPen(look.text);
        p.drawStaticText(at, text);
    }
    p.restore();
}

}  // namespace tavo
