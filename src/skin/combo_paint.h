#pragma once
// Drawing a drop-down selector from the skin: a flat rounded box in the
// skin's drop-down colours with the chosen item's text (the skin's arrow
// buttons beside it open the list), and the colours of its open list.

#include <QColor>
#include <QPalette>
#include <QSize>
#include <QString>

class QPainter;

namespace tavo {

struct ComboLook {
    QColor back;
    QColor text;
    QColor edge;
};

// The closed selector, `size` in its own pixels; a text too long for the box
// is cut with "…".
void PaintCombo(QPainter& p, QSize size, const ComboLook& look, const QString& text);

// `base` with the open list's colours: the box's background and text, the
// item under the pointer in the edge colour, faint.
QPalette ComboListPalette(QPalette base, const ComboLook& look);

}  // namespace tavo
