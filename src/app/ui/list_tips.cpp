#include "app/ui/list_tips.h"

#include "app/ui/main_pixels.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace tavo {

ListTips::ListTips(QWidget& list, PlayerCore& core, const std::int16_t& rowHeight)
    : list_(list), tips_(core), rowHeight_(rowHeight) {
    list_.installEventFilter(this);
}

ListTips::~ListTips() { list_.removeEventFilter(this); }

bool ListTips::eventFilter(QObject* watched, QEvent* e) {
    if (watched != &list_ || e->type() != QEvent::ToolTip) return QObject::eventFilter(watched, e);
    const auto* help = static_cast<QHelpEvent*>(e);
    const QString text = tips_.Row(RowAt(help->pos().x(), help->pos().y(), list_.width(), rowHeight_, kRowsPerPage));
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, &list_);
    return true;
}

}  // namespace tavo
