#include "app/ui/window_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace tavo {

WindowDrag::WindowDrag(QWidget* handle, QWidget* window) : QObject(handle), window_(window) {
    handle->installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() != Qt::LeftButton) break;
            pressed_ = true;
            manual_ = false;
            grab_ = m->globalPosition().toPoint() - window_->frameGeometry().topLeft();
            return true;
        }
        case QEvent::MouseMove: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (!pressed_ || !(m->buttons() & Qt::LeftButton)) break;
            if (!manual_) {
                QWindow* handle = window_->windowHandle();
                systemMove_ = handle && handle->startSystemMove();
                if (systemMove_) {
                    pressed_ = false;  // the window system has the pointer now
                    return true;
                }
                manual_ = true;
            }
            window_->move(m->globalPosition().toPoint() - grab_);
            return true;
        }
        case QEvent::MouseButtonRelease:
            pressed_ = false;
            manual_ = false;
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, e);
}

}  // namespace tavo
