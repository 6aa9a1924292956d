#pragma once
// The one way the program ends: the close button's confirmed exit, the
// tray's exit item, a desktop "Quit" request and a termination signal all
// come here. First the registered save steps run (each saves what its part
// of the program holds unsaved), then the tray icon is removed, then the
// program ends.

#include "app/main_controls.h"

#include <functional>
#include <vector>

namespace tavo {

namespace platform {
class SessionEnd;
}

class ExitPath {
public:
    explicit ExitPath(MainHooks& hooks) : hooks_(hooks) {}

    // Registers a step that saves what is unsaved. Steps run in the order
    // they were registered, every time the save steps run; a step must be
    // safe to run more than once.
    void AddSaveStep(std::function<void()> step) { steps_.push_back(std::move(step)); }
    // Runs every save step (also used when the desktop session asks the
    // program to save without ending it).
    void RunSaveSteps();
    // Save steps, tray icon removed (MainHooks::RemoveTrayIcon), program
    // ended (MainHooks::ExitProgram). Only the first call does anything.
    void Exit();
    bool Exiting() const { return exiting_; }

private:
    MainHooks& hooks_;
    std::vector<std::function<void()>> steps_;
    bool exiting_ = false;
};

// Routes the ends that do not come from our own windows through `exit`: a
// termination signal (SIGTERM, SIGINT, SIGHUP) exits; the application's last
// moments (QCoreApplication::aboutToQuit) run the save steps when nothing
// else has. The desktop session's request to save its data comes through
// the GUI application (RouteSessionSave, app/ui/session_save.h).
void RouteSessionEnd(ExitPath& exit, platform::SessionEnd& session);

}  // namespace tavo
