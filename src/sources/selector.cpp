#include "sources/selector.h"

namespace tavo {

void Selector::SetItems(QStringList items) {
    items_ = std::move(items);
    index_ = -1;
    Q_EMIT ItemsChanged();
}

void Selector::Clear() {
    items_.clear();
    index_ = -1;
    Q_EMIT ItemsChanged();
}

void Selector::SetListIndex(int index) {
    if (index < -1 || index >= items_.size()) return;
    index_ = index;
    Q_EMIT ListIndexChanged(index);
}

}  // namespace tavo
