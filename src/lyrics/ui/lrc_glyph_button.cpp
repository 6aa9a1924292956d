#include "lyrics/ui/lrc_glyph_button.h"

#include "lyrics/ui/lrc_paint.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace tavo {

namespace {
int ColourDistance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}
}  // namespace

QColor MutedGlyphColour(const QColor& back, const QColor& text) {
    // Reds from dark to light: the one farthest from both the back and the
    // unmuted glyph's colour, dark red first when it does as well as any.
    static const QColor kReds[] = {kMutedGlyphColour, QColor(96, 0, 24), QColor(200, 0, 0), QColor(255, 90, 90),
                                   QColor(255, 150, 150)};
    QColor best = kMutedGlyphColour;
    int bestScore = -1;
    for (const QColor& red : kReds) {
        const int score = std::min(ColourDistance(red, back), ColourDistance(red, text));
        if (score > bestScore) {
            best = red;
            bestScore = score;
        }
    }
    return best;
}

LrcGlyphButton::LrcGlyphButton(QChar caption, const QString& toolTip, QWidget* parent)
    : QWidget(parent), caption_(caption) {
    setToolTip(toolTip);
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

void LrcGlyphButton::SetCaption(QChar caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

void LrcGlyphButton::SetForeColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
}

void LrcGlyphButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintLrcGlyph(p, QRectF(rect()), caption_, color_);
}

void LrcGlyphButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        pressed_ = true;
        e->accept();
    } else {
        e->ignore();  // the right button reaches the window: its menu
    }
}

void LrcGlyphButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        e->ignore();
        return;
    }
    const bool wasPressed = pressed_;
    pressed_ = false;
    e->accept();
    if (wasPressed && rect().contains(e->position().toPoint())) Q_EMIT Click();
}

}  // namespace tavo
