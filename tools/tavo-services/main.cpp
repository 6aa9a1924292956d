// tavo-services [--port N]: the bundled local services, until SIGINT or
// SIGTERM.
#include "demo_service.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    int port = tavo::services::kDefaultPort;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc) {
            char* end = nullptr;
            const long p = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || p < 0 || p > 65535) {
                std::fprintf(stderr, "tavo-services: bad port %s\n", argv[i]);
                return 2;
            }
            port = static_cast<int>(p);
        } else {
            std::fprintf(stderr, "usage: tavo-services [--port N]\n");
            return 2;
        }
    }

    // Block the stop signals before any thread starts, then wait for one.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    tavo::services::DemoService service;
    if (!service.Start(port)) {
        std::fprintf(stderr, "tavo-services: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    std::printf("listening on %s\n", service.Url().c_str());
    std::fflush(stdout);

    int sig = 0;
    sigwait(&stop, &sig);
    service.Stop();
    return 0;
}
