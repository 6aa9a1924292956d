// From exec to the first window on screen, measured from outside: the real
// player is started under a virtual display of its own (Xvfb), and the time
// runs from just before exec until the display reports the first window
// mapped (MapNotify on the root window; there is no window manager, so the
// player's top-level windows are the root's children). Each run has a fresh
// display, runtime folder and home, so that no other copy of the player and
// no earlier run's state is found; the session bus is left unset.
//
// Goal: under 100 ms (median of the runs). The floor, timed alike in the
// same runs: a bare QApplication showing one empty window
// (first_window_floor.cpp). Prints SKIP and ends with 0 where Xvfb or the
// player is missing. TAVO_FIRST_WINDOW_RUNS sets the run count (default 7).
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kGoalMs = 100;
constexpr int kDisplayWaitMs = 5000;
constexpr int kWindowWaitMs = 10000;

bool Executable(const std::string& path) { return !path.empty() && access(path.c_str(), X_OK) == 0; }

// Xvfb on the search path.
std::string FindXvfb() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (size_t from = 0; from <= dirs.size();) {
        const size_t to = std::min(dirs.find(':', from), dirs.size());
        const std::string p = dirs.substr(from, to - from) + "/Xvfb";
        if (to > from && Executable(p)) return p;
        from = to + 1;
    }
    return {};
}

// A running Xvfb on a display it chose itself (-displayfd).
struct VirtualDisplay {
    pid_t pid = -1;
    std::string name;  // ":<n>"

    bool Start(const std::string& xvfb) {
        int fds[2];
        if (pipe(fds) != 0) return false;
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            const int devnull = open("/dev/null", O_WRONLY);
            if (devnull >= 0) {
                dup2(devnull, 1);
                dup2(devnull, 2);
            }
            const std::string fd = std::to_string(fds[1]);
            execl(xvfb.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (pid < 0) {
            close(fds[0]);
            return false;
        }
        // The display number arrives as text and a newline once it accepts clients.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        const auto deadline = Clock::now() + std::chrono::milliseconds(kDisplayWaitMs);
        while (Clock::now() < deadline && number.find('\n') == std::string::npos) {
            if (poll(&p, 1, 100) <= 0) continue;
            char buf[16];
            const ssize_t n = read(fds[0], buf, sizeof buf);
            if (n <= 0) break;
            number.append(buf, static_cast<size_t>(n));
        }
        close(fds[0]);
        if (number.find('\n') == std::string::npos) return false;
        name = ":" + number.substr(0, number.find('\n'));
        return true;
    }
    ~VirtualDisplay() { Stop(pid); }

    static void Stop(pid_t& child) {
        if (child <= 0) return;
        kill(child, SIGTERM);
        for (int i = 0; i < 50; ++i) {
            if (waitpid(child, nullptr, WNOHANG) == child) {
                child = -1;
                return;
            }
            usleep(20000);
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        child = -1;
    }
};

// One run: milliseconds from exec to the first MapNotify of a window the
// user can see, or a negative value when none came; `size` gets its size.
double OneRun(const std::string& xvfb, const std::string& program, std::string& size) {
    VirtualDisplay display;
    if (!display.Start(xvfb)) {
        std::fprintf(stderr, "virtual display did not start\n");
        return -1;
    }
    xcb_connection_t* conn = xcb_connect(display.name.c_str(), nullptr);
    if (xcb_connection_has_error(conn)) {
        xcb_disconnect(conn);
        return -1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t c = xcb_change_window_attributes_checked(conn, screen->root, XCB_CW_EVENT_MASK, &mask);
    if (xcb_generic_error_t* err = xcb_request_check(conn, c)) {
        std::free(err);
        xcb_disconnect(conn);
        return -1;
    }

    const fs::path scratch = fs::temp_directory_path() / ("tavo-first-window-" + std::to_string(getpid()));
    fs::remove_all(scratch);
    fs::create_directories(scratch / "runtime");
    fs::create_directories(scratch / "home");
    chmod((scratch / "runtime").c_str(), 0700);

    const Clock::time_point start = Clock::now();
    pid_t player = fork();
    if (player == 0) {
        const int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        setenv("DISPLAY", display.name.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("XDG_RUNTIME_DIR", (scratch / "runtime").c_str(), 1);
        setenv("HOME", (scratch / "home").c_str(), 1);
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    double ms = -1;
    const int fd = xcb_get_file_descriptor(conn);
    const auto deadline = start + std::chrono::milliseconds(kWindowWaitMs);
    while (ms < 0 && Clock::now() < deadline) {
        while (xcb_generic_event_t* ev = xcb_poll_for_event(conn)) {
            if ((ev->response_type & 0x7F) == XCB_MAP_NOTIFY && ms < 0) {
                const double at = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                // Qt's helper windows (selection owner, 1x1 leaders) are not
                // what the user sees: a window counts from 16 x 16 on.
                const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(ev);
                if (xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(conn, xcb_get_geometry(conn, map->window), nullptr)) {
                    if (g->width >= 16 && g->height >= 16) {
                        ms = at;
                        size = std::to_string(g->width) + "x" + std::to_string(g->height);
                    }
                    std::free(g);
                }
            }
            std::free(ev);
        }
        if (ms >= 0 || xcb_connection_has_error(conn)) break;
        if (waitpid(player, nullptr, WNOHANG) == player) {
            player = -1;
            break;  // ended without a window
        }
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 5);
    }
    VirtualDisplay::Stop(player);
    xcb_disconnect(conn);
    fs::remove_all(scratch);
    return ms;
}

}  // namespace

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int main() {
    const std::string xvfb = FindXvfb();
    const std::string program = TAVO_PLAYER_PATH;
    if (xvfb.empty()) {
        std::printf("SKIP exec to first mapped window: Xvfb not found\n");
        return 0;
    }
    if (!Executable(program)) {
        std::printf("SKIP exec to first mapped window: %s not built\n", program.c_str());
        return 0;
    }
    int runs = 7;
    if (const char* env = std::getenv("TAVO_FIRST_WINDOW_RUNS")) runs = std::max(1, std::atoi(env));
    const std::string floor = TAVO_FLOOR_PATH;
    std::vector<double> times, floorTimes;
    for (int i = 0; i < runs; ++i) {
        std::string size;
        const double ms = OneRun(xvfb, program, size);
        std::string floorSize;
        const double floorMs = Executable(floor) ? OneRun(xvfb, floor, floorSize) : -1;
        if (floorMs >= 0) floorTimes.push_back(floorMs);
        if (ms < 0) {
            std::printf("run %d: no window within %d ms\n", i + 1, kWindowWaitMs);
            continue;
        }
        std::printf("run %d: %.1f ms (first window %s); floor %.1f ms\n", i + 1, ms, size.c_str(), floorMs);
        times.push_back(ms);
    }
    if (!floorTimes.empty())
        std::printf("FLOOR bare QApplication + one QWidget: median %.1f ms of %zu runs\n", Median(floorTimes),
                    floorTimes.size());
    if (times.empty()) {
        std::printf("FIRST_WINDOW exec to first mapped window: no run showed a window\n");
        return 1;
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("FIRST_WINDOW exec to first mapped window: median %.1f ms of %zu runs (min %.1f, max %.1f) "
                "(goal < %.0f ms) %s\n",
                median, times.size(), times.front(), times.back(), kGoalMs, median < kGoalMs ? "MET" : "NOT MET");
    return 0;
}
