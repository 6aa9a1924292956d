#pragma once
// Shows the list's tool tips (ListToolTip) over the rows of the list picture.

#include "app/list_tooltip.h"

#include <QObject>

class QWidget;

namespace tavo {

class ListTips : public QObject {
public:
    // `list` (the list picture) and `core` must outlive it.
    ListTips(QWidget& list, PlayerCore& core);
    ~ListTips() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget& list_;
    ListToolTip tips_;
};

}  // namespace tavo
