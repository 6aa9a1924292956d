#include "platform/quit_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace tavo::platform {

namespace {

int g_pipe[2] = {-1, -1};
volatile std::sig_atomic_t g_pending = 0;

// Only async-signal-safe calls: a byte into the pipe, or _exit.
void OnSignal(int sig) {
    if (g_pending) ::_exit(128 + sig);
    g_pending = 1;
    const char c = static_cast<char>(sig);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &c, 1);
}

}  // namespace

void QuitOnSignals() {
    if (g_pipe[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char c = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_pipe[0], &c, 1);
        // exit(), not quit(): quit() first asks every window to close, and a
        // window that hides to the tray refuses.
        QCoreApplication::exit(0);
    });
    struct sigaction sa {};
    sa.sa_handler = &OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}

}  // namespace tavo::platform
