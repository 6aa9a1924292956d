// The player. Until the main window lands this shows a minimal window.
#include "platform/program_folder.h"

#include <QApplication>
#include <QLabel>

#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Tavo音乐盒2010"));
    QLabel window(QStringLiteral("Tavo音乐盒2010"));
    window.setWindowTitle(QStringLiteral("Tavo音乐盒2010"));
    window.resize(320, 120);
    window.show();
    (void)tavo::platform::ProgramFolder();
    return app.exec();
}
