#include "skin/skin_symbols.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <algorithm>

namespace tavo {

namespace {

// Points in the unit square of the box.
struct Unit {
    QRectF sq;
    QPointF operator()(qreal x, qreal y) const { return {sq.left() + x * sq.width(), sq.top() + y * sq.height()}; }
    qreal len(qreal v) const { return v * sq.width(); }
};

void Fill(QPainter& p, const QPolygonF& shape, const QColor& c, qreal round) {
    // A thin pen of the same colour rounds the corners of filled shapes.
    QPen pen(c, round);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(c);
    p.drawPolygon(shape);
}

void Stroke(QPainter& p, const QPainterPath& path, const QColor& c, qreal width) {
    QPen pen(c, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

QPainterPath Polyline(std::initializer_list<QPointF> pts) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : pts) {
        if (first) path.moveTo(pt);
        else path.lineTo(pt);
        first = false;
    }
    return path;
}

void Speaker(QPainter& p, const Unit& u, const QColor& c, qreal round) {
    Fill(p, QPolygonF({u(0.14, 0.38), u(0.3, 0.38), u(0.5, 0.2), u(0.5, 0.8), u(0.3, 0.62), u(0.14, 0.62)}), c, round);
}

class SymbolEngine : public QIconEngine {
public:
    SymbolEngine(SkinSymbol symbol, QSize size) : symbol_(symbol), size_(size) {}

    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        QColor c = p->pen().color();
        if (mode == QIcon::Disabled) c.setAlpha(c.alpha() / 2);
        // The shadow: dark under light symbols, light under dark ones.
        const bool light = qGray(c.rgb()) > 128;
        const QColor shadow = light ? QColor(0, 0, 0, 80) : QColor(255, 255, 255, 90);
        const qreal off = std::max<qreal>(0.5, std::min(rect.width(), rect.height()) / 22.0);
        PaintSymbol(*p, QRectF(rect).translated(0, off), symbol_, shadow);
        PaintSymbol(*p, QRectF(rect), symbol_, c);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size_.boundedTo(size); }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {size_}; }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }
    QIconEngine* clone() const override { return new SymbolEngine(symbol_, size_); }
    QString key() const override { return QStringLiteral("tavo-symbol"); }

private:
    SkinSymbol symbol_;
    QSize size_;
};

}  // namespace

void PaintSymbol(QPainter& p, const QRectF& box, SkinSymbol symbol, const QColor& colour) {
    if (symbol == SkinSymbol::None || box.isEmpty()) return;
    const qreal s = std::min(box.width(), box.height());
    const Unit u{QRectF(box.center().x() - s / 2, box.center().y() - s / 2, s, s)};
    const qreal round = u.len(0.06);
    const qreal line = std::max<qreal>(1.2, u.len(0.1));

    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (symbol) {
        case SkinSymbol::Play:
            Fill(p, QPolygonF({u(0.3, 0.18), u(0.82, 0.5), u(0.3, 0.82)}), colour, round);
            break;
        case SkinSymbol::Pause:
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawRoundedRect(QRectF(u(0.25, 0.2), u(0.42, 0.8)), u.len(0.04), u.len(0.04));
            p.drawRoundedRect(QRectF(u(0.58, 0.2), u(0.75, 0.8)), u.len(0.04), u.len(0.04));
            break;
        case SkinSymbol::Stop:
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawRoundedRect(QRectF(u(0.24, 0.24), u(0.76, 0.76)), u.len(0.06), u.len(0.06));
            break;
        case SkinSymbol::Previous:
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawRoundedRect(QRectF(u(0.2, 0.24), u(0.31, 0.76)), u.len(0.03), u.len(0.03));
            Fill(p, QPolygonF({u(0.8, 0.22), u(0.36, 0.5), u(0.8, 0.78)}), colour, round);
            break;
        case SkinSymbol::Next:
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawRoundedRect(QRectF(u(0.69, 0.24), u(0.8, 0.76)), u.len(0.03), u.len(0.03));
            Fill(p, QPolygonF({u(0.2, 0.22), u(0.64, 0.5), u(0.2, 0.78)}), colour, round);
            break;
        case SkinSymbol::Mute: {
            Speaker(p, u, colour, round);
            QPainterPath waves;
            waves.arcMoveTo(QRectF(u(0.42, 0.34), u(0.74, 0.66)), -50);
            waves.arcTo(QRectF(u(0.42, 0.34), u(0.74, 0.66)), -50, 100);
            waves.arcMoveTo(QRectF(u(0.38, 0.2), u(0.9, 0.8)), -52);
            waves.arcTo(QRectF(u(0.38, 0.2), u(0.9, 0.8)), -52, 104);
            Stroke(p, waves, colour, u.len(0.075));
            break;
        }
        case SkinSymbol::Unmute:
            Speaker(p, u, colour, round);
            Stroke(p, Polyline({u(0.62, 0.38), u(0.86, 0.62)}), colour, u.len(0.085));
            Stroke(p, Polyline({u(0.86, 0.38), u(0.62, 0.62)}), colour, u.len(0.085));
            break;
        case SkinSymbol::First:
            Stroke(p, Polyline({u(0.3, 0.28), u(0.3, 0.72)}), colour, line);
            Stroke(p, Polyline({u(0.7, 0.28), u(0.46, 0.5), u(0.7, 0.72)}), colour, line);
            break;
        case SkinSymbol::Last:
            Stroke(p, Polyline({u(0.7, 0.28), u(0.7, 0.72)}), colour, line);
            Stroke(p, Polyline({u(0.3, 0.28), u(0.54, 0.5), u(0.3, 0.72)}), colour, line);
            break;
        case SkinSymbol::Back:
            Stroke(p, Polyline({u(0.6, 0.26), u(0.36, 0.5), u(0.6, 0.74)}), colour, line);
            break;
        case SkinSymbol::Forward:
            Stroke(p, Polyline({u(0.4, 0.26), u(0.64, 0.5), u(0.4, 0.74)}), colour, line);
            break;
        case SkinSymbol::DropDown:
            Stroke(p, Polyline({u(0.28, 0.4), u(0.5, 0.62), u(0.72, 0.4)}), colour, line);
            break;
        case SkinSymbol::Close:
            Stroke(p, Polyline({u(0.3, 0.3), u(0.7, 0.7)}), colour, line);
            Stroke(p, Polyline({u(0.7, 0.3), u(0.3, 0.7)}), colour, line);
            break;
        case SkinSymbol::Minimize:
            Stroke(p, Polyline({u(0.3, 0.62), u(0.7, 0.62)}), colour, line);
            break;
        case SkinSymbol::Menu:
            for (qreal y : {0.32, 0.5, 0.68}) Stroke(p, Polyline({u(0.3, y), u(0.7, y)}), colour, line * 0.85);
            break;
        case SkinSymbol::None:
            break;
    }
    p.restore();
}

QIcon SymbolIcon(SkinSymbol symbol, QSize size) { return QIcon(new SymbolEngine(symbol, size)); }

}  // namespace tavo
