#include "platform/qt_platform_choice.h"

#include <QtGlobal>

namespace tavo::platform {

std::optional<QString> ChooseQtPlatform(const PlatformEnvironment& env) {
    if (!env.qtQpaPlatform.trimmed().isEmpty()) return std::nullopt;
    for (const QString& a : env.args)
        if (a == QLatin1String("-platform") || a == QLatin1String("--platform") ||
            a.startsWith(QLatin1String("-platform=")) || a.startsWith(QLatin1String("--platform=")))
            return std::nullopt;
    const bool wayland = env.xdgSessionType.trimmed().compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 ||
                         !env.waylandDisplay.trimmed().isEmpty();
    if (!wayland || env.display.trimmed().isEmpty()) return std::nullopt;
    return QStringLiteral("xcb");
}

PlatformEnvironment CurrentPlatformEnvironment(const QStringList& args) {
    auto get = [](const char* name) { return qEnvironmentVariable(name); };
    return {get("QT_QPA_PLATFORM"), get("XDG_SESSION_TYPE"), get("WAYLAND_DISPLAY"), get("DISPLAY"), args};
}

void ApplyQtPlatformChoice(const PlatformEnvironment& env) {
    if (const auto choice = ChooseQtPlatform(env)) qputenv("QT_QPA_PLATFORM", choice->toLatin1());
}

}  // namespace tavo::platform
