#include "platform/ui/program_font.h"

#include <QFont>
#include <QGuiApplication>

namespace tavo::platform {

void UsePlainTextLayout() {
    QFont f = QGuiApplication::font();
    f.setStyleStrategy(QFont::PreferNoShaping);
    QGuiApplication::setFont(f);
}

}  // namespace tavo::platform
