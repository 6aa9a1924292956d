// The player: the media player, the main window and its start-up.
#include "app/main_form.h"
#include "platform/media_player.h"
#include "platform/session_end.h"
#include "shell/shell_main.h"

#include <QApplication>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // libmpv needs the C numeric locale; QApplication has just set the user's.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(tavo::kAppTitle);
    QApplication::setQuitOnLastWindowClosed(false);

    tavo::platform::MpvOptions options;
    // TAVO_AUDIO_OUTPUT picks the audio output ("null" plays silently).
    if (const char* ao = std::getenv("TAVO_AUDIO_OUTPUT")) options.audioOutput = QString::fromLocal8Bit(ao);
    tavo::platform::MpvMediaPlayer player(options);

    tavo::MainForm window(player);
    // A termination signal or the desktop session's end takes the same way
    // out as the exit command.
    tavo::platform::SessionEnd session;
    tavo::RouteSessionEnd(window.core().exit, session);
    // The tray and its menus, the splash and the update notices; the splash
    // shows the main window once it has loaded.
    tavo::ShellMain shell(window);
    if (!window.Load()) return 1;
    return app.exec();
}
