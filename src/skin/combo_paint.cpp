#include "skin/combo_paint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRectF>

namespace tavo {

namespace {

constexpr double kCornerRadius = 3.0;
constexpr int kHoverAlpha = 90;
// Text starts this far from the left edge and stops this far from the right.
constexpr int kComboTextLeft = 6;
constexpr int kComboTextRight = 4;

}  // namespace

void PaintCombo(QPainter& p, QSize size, const ComboLook& look, const QString& text) {
    if (size.isEmpty()) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // The 1-pixel edge sits on pixel centres, inside the box.
    p.setPen(QPen(look.edge, 1));
    p.setBrush(look.back);
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1.0, size.height() - 1.0), kCornerRadius, kCornerRadius);
    const QRect room(kComboTextLeft, 0, size.width() - kComboTextLeft - kComboTextRight, size.height());
    if (room.width() > 0) {
        p.setPen(look.text);
        p.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                   p.fontMetrics().elidedText(text, Qt::ElideRight, room.width()));
    }
    p.restore();
}

QPalette ComboListPalette(QPalette base, const ComboLook& look) {
    QColor hover = look.edge;
    hover.setAlpha(kHoverAlpha);
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Button})
        base.setColor(role, look.back);
    for (const QPalette::ColorRole role :
         {QPalette::Text, QPalette::WindowText, QPalette::ButtonText, QPalette::HighlightedText})
        base.setColor(role, look.text);
    base.setColor(QPalette::Highlight, hover);
    return base;
}

}  // namespace tavo
