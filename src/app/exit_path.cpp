#include "app/exit_path.h"

#include "platform/core/session_end.h"

#include <QCoreApplication>

namespace tavo {

void ExitPath::RunSaveSteps() {
    for (const auto& step : steps_)
        if (step) step();
}

void ExitPath::Exit() {
    if (exiting_) return;
    exiting_ = true;
    RunSaveSteps();
    if (hooks_.RemoveTrayIcon) hooks_.RemoveTrayIcon();
    if (hooks_.ExitProgram) hooks_.ExitProgram();
}

void RouteSessionEnd(ExitPath& exit, platform::SessionEnd& session) {
    QObject::connect(&session, &platform::SessionEnd::EndRequested, &session, [&exit] { exit.Exit(); });
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QObject::connect(app, &QCoreApplication::aboutToQuit, &session, [&exit] {
            if (!exit.Exiting()) exit.RunSaveSteps();
        });
    }
}

}  // namespace tavo
