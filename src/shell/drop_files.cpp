#include "shell/drop_files.h"

#include "platform/command_line.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace tavo {

QStringList DroppedItems(const QMimeData& data) {
    QStringList items;
    if (!data.hasUrls()) return items;
    for (const QUrl& url : data.urls()) {
        // OpenTarget keeps absolute paths and the accepted web schemes only.
        const QString word = url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
        if (word.isEmpty() || (url.isLocalFile() && !word.startsWith(QLatin1Char('/')))) continue;
        const QString target = platform::OpenTarget(word, QStringLiteral("/"));
        if (!target.isEmpty()) items.append(target);
    }
    return items;
}

DropFiles::DropFiles(QWidget& window, std::function<void(const QStringList&)> open)
    : window_(window), open_(std::move(open)) {
    window_.setAcceptDrops(true);
    window_.installEventFilter(this);
}

DropFiles::~DropFiles() { window_.removeEventFilter(this); }

bool DropFiles::eventFilter(QObject* watched, QEvent* e) {
    if (watched != &window_) return QObject::eventFilter(watched, e);
    if (e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(e);
        if (drag->mimeData() && !DroppedItems(*drag->mimeData()).isEmpty())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    if (e->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(e);
        const QStringList items = drop->mimeData() ? DroppedItems(*drop->mimeData()) : QStringList();
        if (items.isEmpty()) return true;
        drop->acceptProposedAction();
        // Opened after the drop has ended: opening may show a message.
        QMetaObject::invokeMethod(this, [this, items] { if (open_) open_(items); }, Qt::QueuedConnection);
        return true;
    }
    return QObject::eventFilter(watched, e);
}

}  // namespace tavo
