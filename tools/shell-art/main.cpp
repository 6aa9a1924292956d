// tavo-shell-art: writes the splash and about pictures into a folder
// (normally src/shell/art): welcome.png and about.png.
#include "shell_pictures.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Drawing into images needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavo-shell-art OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok = tavo::art::WelcomePicture().save(out + QStringLiteral("/welcome.png"), "PNG");
    ok = tavo::art::AboutPicture().save(out + QStringLiteral("/about.png"), "PNG") && ok;
    if (!ok) std::fprintf(stderr, "tavo-shell-art: could not write the pictures into %s\n", argv[1]);
    return ok ? 0 : 1;
}
