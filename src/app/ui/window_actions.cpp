#include "app/ui/window_actions.h"

#include "app/ui/main_form.h"

namespace tavo {

void RaiseMainWindow(MainForm& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
    window.SetIsShown(true);
}

void ExitProgram(MainForm& window) { window.core().exit.Exit(); }

}  // namespace tavo
