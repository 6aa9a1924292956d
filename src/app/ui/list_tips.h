#pragma once
// Shows the list's tool tips (ListToolTip) over the rows of the list picture.

#include "app/list_tooltip.h"

#include <QObject>

#include <cstdint>

class QWidget;

namespace tavo {

class ListTips : public QObject {
public:
    // `list` (the list picture), `core` and `rowHeight` must outlive it.
    ListTips(QWidget& list, PlayerCore& core, const std::int16_t& rowHeight);
    ~ListTips() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget& list_;
    ListToolTip tips_;
    const std::int16_t& rowHeight_;
};

}  // namespace tavo
