// The player: its command line, one copy per user, the local services, the
// media player, the main window and the desktop's media controls.
#include "app/page_opener.h"
#include "app/ui/list_tips.h"
#include "app/ui/main_form.h"
#include "app/ui/session_save.h"
#include "app/player_mpris.h"
#include "app/ui/window_actions.h"
#include "lyrics/ui/lrc_box.h"
#include "platform/ui/program_font.h"
#include "platform/command_line.h"
#include "platform/core/cover_file.h"
#include "platform/core/local_services.h"
#include "platform/core/media_player.h"
#include "platform/ui/qt_message_box.h"
#include "platform/core/mpris_service.h"
#include "platform/core/network_access.h"
#include "platform/core/network_proxy.h"
#include "platform/program_folder.h"
#include "platform/core/session_end.h"
#include "platform/core/single_instance.h"
#include "platform/qt_platform_choice.h"
#include "shell/drop_files.h"
#include "shell/local_music_commands.h"
#include "shell/shell_art.h"
#include "shell/shell_main.h"
#include "shell/web_page.h"
#include "shell/welcome.h"
#include "sources/services.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <clocale>
#include <memory>
#include <cstdio>
#include <cstdlib>

namespace {

// The desktop entry's id (also the icon's name and the MPRIS desktop entry).
const QString kDesktopId = QStringLiteral(TAVO_DESKTOP_ID);

// The theme's icon when installed, else the one built into the program.
QIcon WindowIcon() {
    const QIcon icon = QIcon::fromTheme(kDesktopId);
    return icon.isNull() ? tavo::ProgramIcon() : icon;
}

}  // namespace

int main(int argc, char** argv) {
    // The command line first: --help and --version need no display.
    QStringList args;
    for (int i = 1; i < argc; ++i) args.append(QString::fromLocal8Bit(argv[i]));
    const tavo::platform::CommandLine cl = tavo::platform::ParseCommandLine(args);
    if (cl.action != tavo::platform::CommandLine::Action::Run) {
        std::fputs(cl.output.toLocal8Bit().constData(),
                   cl.action == tavo::platform::CommandLine::Action::Refuse ? stderr : stdout);
        return cl.exitCode;
    }

    // On Wayland the lyrics window needs XWayland to stay on top and let clicks through.
    tavo::platform::ApplyQtPlatformChoice(tavo::platform::CurrentPlatformEnvironment(args));
    QApplication app(argc, argv);
    // libmpv needs the C numeric locale; QApplication has just set the user's.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(tavo::kAppTitle);
    QApplication::setApplicationVersion(QStringLiteral(TAVO_VERSION));
    QGuiApplication::setDesktopFileName(kDesktopId);
    QApplication::setQuitOnLastWindowClosed(false);
    tavo::platform::UsePlainTextLayout();
    // The logic asks its questions and opens its pages through the windows.
    tavo::platform::SetMessages(std::make_unique<tavo::platform::QtMessageBox>());
    tavo::SetPageOpener(&tavo::OpenWebPage);

    // One player per user: a second start shows the first one's window and
    // ends before it touches anything of the program folder.
    tavo::platform::SingleInstance instance(tavo::platform::RuntimeFolder());
    switch (instance.Claim(10000, cl.open)) {
        case tavo::platform::SingleInstance::Role::Second:
            return 0;
        case tavo::platform::SingleInstance::Role::NotAnswering:
            std::fputs("tavo-musicbox: another copy is running but does not answer\n", stderr);
            return 1;
        default:
            break;
    }
    // The splash first, before the player, the services and the windows.
    std::unique_ptr<tavo::welcome> splash = tavo::ShowEarlySplash();
    tavo::platform::UseSystemProxy();
    QApplication::setWindowIcon(WindowIcon());

    // The bundled local services, on the loopback ports services.ini names
    // where nothing listens yet; they end with the player.
    const tavo::ServiceHosts& hosts = tavo::Services();
    tavo::platform::LocalServices services(
        tavo::platform::FindServicesProgram(QCoreApplication::applicationDirPath()));
    const QString servicesMessage = services.Start(tavo::platform::LoopbackPorts(
        {hosts.radioPlaylist, hosts.radioFeed, hosts.chartSite, hosts.songSearch, hosts.lyrics, hosts.makerSite}));

    tavo::platform::MpvOptions options;
    // TAVO_AUDIO_OUTPUT picks the audio output ("null" plays silently).
    if (const char* ao = std::getenv("TAVO_AUDIO_OUTPUT")) options.audioOutput = QString::fromLocal8Bit(ao);
    tavo::platform::MpvMediaPlayer player(options);

    tavo::MainForm window(player);
    // A termination signal or the desktop session's end takes the same way
    // out as the exit command (and so the services stop too).
    tavo::platform::SessionEnd session;
    tavo::RouteSessionEnd(window.core().exit, session);
    tavo::RouteSessionSave(window.core().exit, &session);
    // The tray and its menus, the splash and the update notices; the splash
    // shows the main window once it has loaded.
    tavo::ShellMain shell(window, std::move(splash));
    if (!window.Load()) return 1;
    QObject::connect(&instance, &tavo::platform::SingleInstance::RaiseRequested, &window,
                     [&window] { tavo::RaiseMainWindow(window); });
    // What this start was given, what later starts hand over and what is
    // dropped on the window goes to the favourites, and the first plays.
    tavo::LocalMusicCommands& localMusic = shell.Tray().LocalMusic();
    const auto open = [&localMusic](const QStringList& items) { localMusic.Open(items); };
    QObject::connect(&instance, &tavo::platform::SingleInstance::OpenRequested, &window, open);
    if (!cl.open.isEmpty()) QTimer::singleShot(0, &window, [open, items = cl.open] { open(items); });
    tavo::DropFiles drops(window, open);
    // The list's rows tell their whole entry and a local song's duration.
    tavo::ListTips listTips(*window.Picture1(), window.core(), window.RowHeight);

    if (!servicesMessage.isEmpty()) {
        std::fprintf(stderr, "tavo-musicbox: %s\n", servicesMessage.toLocal8Bit().constData());
        QTimer::singleShot(0, &window, [servicesMessage] {
            tavo::platform::Messages().Show(servicesMessage, QString(), tavo::platform::MsgButtons::Ok,
                                            tavo::platform::MsgIcon::Exclamation);
        });
    }

    // The desktop's media controls, when there is a session bus.
    tavo::PlayerMpris target(window.core(), {[&window] { tavo::RaiseMainWindow(window); }, [&window] { tavo::ExitProgram(window); }});
    target.SetCoverSource(tavo::platform::SongCoverUrl);
    tavo::platform::MprisService mpris(target, tavo::kAppTitle, kDesktopId);
    if (const auto bus = tavo::platform::SessionBus(); bus && mpris.Register(*bus, QStringLiteral("tavomusicbox")))
        target.Watch(mpris);

    const int rc = app.exec();
    tavo::platform::CloseNetworkAccess();
    return rc;
}
