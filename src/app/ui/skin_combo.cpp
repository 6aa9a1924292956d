#include "app/ui/skin_combo.h"

#include <QAbstractItemView>
#include <QPainter>

namespace tavo {

SkinCombo::SkinCombo(QWidget* parent) : QComboBox(parent) {
    look_ = {palette().color(QPalette::Base), palette().color(QPalette::Text), palette().color(QPalette::Mid)};
}

void SkinCombo::SetLook(const ComboLook& look) {
    look_ = look;
    // The open list is a window of its own: it and its frame take the colours.
    QAbstractItemView* list = view();
    list->setPalette(ComboListPalette(list->palette(), look_));
    if (QWidget* frame = list->parentWidget()) frame->setPalette(ComboListPalette(frame->palette(), look_));
    update();
}

void SkinCombo::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintCombo(p, size(), look_, currentText());
}

}  // namespace tavo
