#pragma once
// Which Qt platform the program starts on.
//
// The lyrics window is a frameless window that stays on top, is moved by
// the program and lets clicks through when locked. A Wayland compositor
// grants none of these to a client, so on a Wayland session the program
// runs through XWayland ("xcb"), where all of them work, unless the user
// chose a platform (QT_QPA_PLATFORM or -platform) or there is no XWayland
// (no DISPLAY), in which case Qt's own choice stands.

#include <QString>
#include <QStringList>

#include <optional>

namespace tavo::platform {

struct PlatformEnvironment {
    QString qtQpaPlatform;   // QT_QPA_PLATFORM
    QString xdgSessionType;  // XDG_SESSION_TYPE
    QString waylandDisplay;  // WAYLAND_DISPLAY
    QString display;         // DISPLAY
    QStringList args;        // the command line, without the program name
};

// The platform to set before the application object is made, or nullopt
// to leave Qt's choice.
std::optional<QString> ChooseQtPlatform(const PlatformEnvironment& env);

// The environment of this process, and setting QT_QPA_PLATFORM from the
// choice (done by main() before QApplication).
PlatformEnvironment CurrentPlatformEnvironment(const QStringList& args);
void ApplyQtPlatformChoice(const PlatformEnvironment& env);

}  // namespace tavo::platform
