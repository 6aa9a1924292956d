#pragma once
// Moving a frameless window by one of its controls: a press of the left
// button and a move ask the window system to move the window
// (QWindow::startSystemMove, which works on Wayland too); where it
// refuses, the window follows the pointer itself until the button is
// released.

#include <QObject>
#include <QPoint>

class QWidget;

namespace tavo {

class WindowDrag : public QObject {
public:
    // `handle` is the control dragged; `window` the window it moves.
    WindowDrag(QWidget* handle, QWidget* window);

    // Whether the last drag was left to the window system.
    bool SystemMove() const { return systemMove_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget* window_;
    bool pressed_ = false;
    bool systemMove_ = false;
    bool manual_ = false;
    QPoint grab_;  // pointer position within the window at the press
};

}  // namespace tavo
