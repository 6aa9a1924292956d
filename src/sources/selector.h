#pragma once
// The content of a drop-down selector (source, period, entry) without the
// widget: its items and its list index. Setting the index raises
// ListIndexChanged, as choosing in the drop-down does; the window's combo
// box shows this model and writes the user's choice back through
// SetListIndex.
//
// Every change of the items raises ItemsChanged once, and the window
// refills its whole combo box on it: fill a selector with SetItems, in one
// step, never item by item.

#include <QObject>
#include <QString>
#include <QStringList>

namespace tavo {

class Selector : public QObject {
    Q_OBJECT
public:
    explicit Selector(QObject* parent = nullptr) : QObject(parent) {}

    const QStringList& Items() const { return items_; }
    int ListCount() const { return static_cast<int>(items_.size()); }
    // -1 when nothing is selected.
    int ListIndex() const { return index_; }
    // The selected item's text; empty when nothing is selected.
    QString Text() const { return index_ >= 0 && index_ < items_.size() ? items_[index_] : QString(); }

    // Replaces every item at once; the index becomes -1 (no change event).
    // Raises ItemsChanged once.
    void SetItems(QStringList items);
    // Removes every item; the index becomes -1 (no change event).
    void Clear();
    // Selects `index` (-1 for none; anything else outside the list is
    // ignored) and raises ListIndexChanged, even when the index is unchanged.
    void SetListIndex(int index);

Q_SIGNALS:
    void ListIndexChanged(int index);
    void ItemsChanged();

private:
    QStringList items_;
    int index_ = -1;
};

}  // namespace tavo
