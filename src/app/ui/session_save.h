#pragma once
// The desktop session's request to save (QGuiApplication::commitDataRequest)
// runs the exit path's save steps without ending the program. The request
// only exists for a GUI application, so this sits with the windows.

#include <QObject>

namespace tavo {

class ExitPath;

// Connects the running QGuiApplication's save request to `exit`'s save
// steps, for as long as `context` lives. Nothing when there is no GUI
// application.
void RouteSessionSave(ExitPath& exit, QObject* context);

}  // namespace tavo
