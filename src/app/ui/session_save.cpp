#include "app/ui/session_save.h"

#include "app/exit_path.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace tavo {

void RouteSessionSave(ExitPath& exit, QObject* context) {
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(gui, &QGuiApplication::commitDataRequest, context,
                         [&exit](QSessionManager&) { exit.RunSaveSteps(); });
    }
}

}  // namespace tavo
