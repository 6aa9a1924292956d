#include "lyrics/ui/lrc_lock.h"

#include <QWidget>

namespace tavo {
namespace {

constexpr Qt::WindowFlags kLockFlags = Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus;

}  // namespace

void SetWindowLocked(QWidget& window, bool locked) {
    if (WindowLocked(window) == locked) return;
    const bool visible = window.isVisible();
    const QPoint pos = window.pos();
    Qt::WindowFlags flags = window.windowFlags();
    // A tool window is left out of the task bar and the switcher either way.
    flags |= Qt::Tool;
    flags.setFlag(Qt::WindowTransparentForInput, locked);
    flags.setFlag(Qt::WindowDoesNotAcceptFocus, locked);
    window.setWindowFlags(flags);
    window.setFocusPolicy(locked ? Qt::NoFocus : Qt::ClickFocus);
    if (visible) {
        window.move(pos);
        window.show();
    }
}

bool WindowLocked(const QWidget& window) { return (window.windowFlags() & kLockFlags) == kLockFlags; }

}  // namespace tavo
