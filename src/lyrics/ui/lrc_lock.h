#pragma once
// Locking a floating window in place: locked, it lets every click, wheel
// turn and double-click through to whatever lies under it, never takes the
// keyboard focus and stays out of the task switcher. On X11 Qt gives a
// window that is transparent for input an empty input shape, so the pointer
// reaches the window below.
//
// Changing the flags re-creates the native window; a shown window is shown
// again where it was.

class QWidget;

namespace tavo {

void SetWindowLocked(QWidget& window, bool locked);
bool WindowLocked(const QWidget& window);

}  // namespace tavo
