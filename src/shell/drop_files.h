#pragma once
// Files, folders and web addresses dropped on a window (from a file manager
// or a browser) handed on as things to open: local paths and addresses of
// the accepted schemes; anything else in the drop is left out.

#include <QObject>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

namespace tavo {

// The items of a drop, in order: local paths, then web addresses as given.
QStringList DroppedItems(const QMimeData& data);

class DropFiles : public QObject {
public:
    // Makes `window` accept drops; `open` receives what was dropped, once
    // the drop has ended. `window` must outlive it.
    DropFiles(QWidget& window, std::function<void(const QStringList&)> open);
    ~DropFiles() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget& window_;
    std::function<void(const QStringList&)> open_;
};

}  // namespace tavo
