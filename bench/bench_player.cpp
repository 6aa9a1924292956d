// The player at rest while a song plays, and its start-up.
//
//   cpu      processor time of the whole program (window shown offscreen and
//            painted from the shipped default skin, the list's fade at rest,
//            libmpv without sound) over 30 s of playback, as % of one core;
//            goal at most 1.2x the peer: libmpv alone playing the same file.
//   rss      resident memory while playing; goal at most 1.3x the peer, the
//            same bare libmpv player.
//   startup  from process start to LoadDone; goal under 150 ms. Peer: a
//            QApplication showing one empty window.
//
// Each scenario runs in its own child process, so that one's memory and
// threads do not count for the other. TAVO_BENCH_SECONDS shortens the
// playback window (default 30); TAVO_BENCH_PLAYING_ONLY=1 leaves out the
// start-up runs, so that a profiler attached to the whole run sees the
// playing player and its peer alone; TAVO_BENCH_ONLY=player (or peer) runs
// that one scenario in this process, without a child, for heap profilers
// that do not follow a fork.
#include "support/wav_file.h"
#include "app/ui/main_form.h"
#include "platform/ansi_text.h"
#include "platform/core/media_player.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "platform/ui/program_font.h"
#include "sources/services.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMap>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point g_start;

// With TAVO_BENCH_EVENTS set, the playing player counts the events its
// window thread handles during the measure, by kind and receiver, and
// prints them to stderr: what wakes it and what it paints.
class EventCount : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (on) {
            const QByteArray name = o->objectName().isEmpty() ? QByteArray(o->metaObject()->className())
                                                               : o->objectName().toUtf8();
            ++counts[QByteArray::number(int(e->type())) + " " + name];
        }
        return false;
    }
    void Print(double seconds) const {
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            std::fprintf(stderr, "events/s %8.2f  type %s\n", it.value() / seconds, it.key().constData());
    }
    bool on = false;
    QMap<QByteArray, int> counts;
};


std::string MakeWav(double seconds) { return tavo::test::MakeWav(seconds, 22050); }

double CpuSeconds() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_utime.tv_sec + ru.ru_utime.tv_usec / 1e6 + ru.ru_stime.tv_sec + ru.ru_stime.tv_usec / 1e6;
}

// The calling thread alone (the window thread, where the player's own work runs).
double ThreadCpuSeconds() {
    rusage ru{};
    getrusage(RUSAGE_THREAD, &ru);
    return ru.ru_utime.tv_sec + ru.ru_utime.tv_usec / 1e6 + ru.ru_stime.tv_sec + ru.ru_stime.tv_usec / 1e6;
}

double RssMb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// Runs the event loop (sleeping while there is nothing to do) for `ms`.
void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool WaitPlaying(tavo::platform::MediaPlayer& p, int ms) {
    QElapsedTimer t;
    t.start();
    while (p.playState() != tavo::platform::kPlayPlaying) {
        if (t.elapsed() > ms) return false;
        RunFor(10);
    }
    return true;
}

int Seconds() {
    const char* s = std::getenv("TAVO_BENCH_SECONDS");
    const int v = s ? std::atoi(s) : 30;
    return std::clamp(v, 1, 120);
}

// The program folder: a skin, a favourites list holding one local song.
void PrepareFolder(const fs::path& dir, const fs::path& song) {
    // The shipped skins: the window is painted from the default one.
    fs::create_directories(dir / "skin");
    fs::copy(fs::path(TAVO_SOURCE_DIR) / "data" / "skin", dir / "skin", fs::copy_options::recursive);
    std::ofstream(dir / "MySongList.txt", std::ios::binary)
        << "Bench Song<|>" << tavo::platform::PathToQString(song).toStdString() << "\r\n";
    tavo::platform::SetProgramFolder(dir);
    tavo::platform::SetSettings(std::make_unique<tavo::platform::IniSettingsStore>(dir / "config"));
    tavo::platform::Settings().SaveSetting(tavo::kAppTitle, "Config", "isPlayListIndex", "1");
    tavo::platform::SetMessages(std::make_unique<tavo::platform::ConsoleMessageBox>(nullptr));
    // Nothing listens on port 1: the search fails at once and the stored
    // link plays.
    tavo::SetServices(tavo::LocalServiceHosts(1));
}

tavo::platform::MpvOptions Options() {
    tavo::platform::MpvOptions o;
    o.audioOutput = QStringLiteral("null");
    return o;
}

// Child scenarios: each prints one line "key value value".
int Child(const std::string& mode, const fs::path& dir, const fs::path& song, int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int seconds = Seconds();
    if (mode == "startup" || mode == "player") tavo::platform::UsePlainTextLayout();  // as the program does
    if (mode == "startup-peer") {
        QWidget w;
        w.resize(330, 526);
        w.show();
        QCoreApplication::processEvents();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - g_start).count();
        std::printf("startup-peer %.2f\n", ms);
        return 0;
    }
    auto since = [](Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); };
    const double appMs = since(g_start);
    PrepareFolder(dir, song);
    const auto beforePlayer = Clock::now();
    tavo::platform::MpvMediaPlayer player(Options());
    const double playerMs = since(beforePlayer);
    if (mode == "startup") {
        const auto beforeWindow = Clock::now();
        tavo::MainForm form(player);
        double ms = -1, windowMs = -1;
        const auto beforeLoad = Clock::now();
        const double constructMs = since(beforeWindow);
        // Step 10 follows LoadDone at once.
        form.core().hooks.StartFadeTimer = [&] {
            ms = since(g_start);
            windowMs = since(beforeLoad);
        };
        if (!form.Load()) return 2;
        std::printf("startup %.2f %.2f %.2f %.2f %.2f\n", ms, appMs, playerMs, constructMs, windowMs);
        return 0;
    }
    if (mode == "peer") {
        player.setURL(tavo::platform::PathToQString(song));
        player.controls().play();
        if (!WaitPlaying(player, 5000)) return 3;
    }
    std::unique_ptr<tavo::MainForm> form;
    if (mode == "player") {
        form = std::make_unique<tavo::MainForm>(player);
        if (!form->Load()) return 2;
        if (form->Pictures().window.isNull() || form->Pictures().playS[0].normal.isNull()) return 4;  // not skinned
        form->ShowAfterLoad();
        // The favourites load; a click on the first row plays the song.
        RunFor(200);
        form->Picture1_MouseDown(1, 20, 5);
        if (!WaitPlaying(player, 5000)) return 3;
    }
    RunFor(1000);  // settle
    EventCount events;
    const bool countEvents = mode == "player" && std::getenv("TAVO_BENCH_EVENTS");
    if (countEvents) {
        qApp->installEventFilter(&events);
        events.on = true;
    }
    const double cpu0 = CpuSeconds();
    const double thread0 = ThreadCpuSeconds();
    const auto t0 = Clock::now();
    double rssMax = 0;
    for (int i = 0; i < seconds; ++i) {
        RunFor(1000);
        rssMax = std::max(rssMax, RssMb());
    }
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    const double cpu = (CpuSeconds() - cpu0) / wall * 100.0;
    const double threadCpu = (ThreadCpuSeconds() - thread0) / wall * 100.0;
    events.on = false;
    if (countEvents) events.Print(wall);
    const bool stillPlaying = player.playState() == tavo::platform::kPlayPlaying;
    std::printf("%s %.3f %.1f %d %.3f\n", mode.c_str(), cpu, rssMax, stillPlaying ? 1 : 0, threadCpu);
    // Run alone, the scenario ends here with everything still held, so that
    // a heap profiler's "leaked" list is what the playing program holds.
    if (std::getenv("TAVO_BENCH_ONLY")) {
        std::fflush(stdout);
        std::error_code ec;
        fs::remove_all(dir.parent_path(), ec);
        _exit(0);
    }
    return 0;
}

struct Result {
    std::vector<double> values;
};

std::vector<double> RunChild(const std::string& mode, const fs::path& dir, const fs::path& song, int argc,
                             char** argv) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        g_start = Clock::now();
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        const int rc = Child(mode, dir, song, argc, argv);
        std::fflush(stdout);
        _exit(rc);
    }
    close(fds[1]);
    std::string out;
    char buf[256];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    std::vector<double> values;
    const auto space = out.find(' ');
    if (space == std::string::npos || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s: failed (status %d) %s\n", mode.c_str(), status, out.c_str());
        return values;
    }
    char* p = out.data() + space;
    for (;;) {
        char* end = nullptr;
        const double v = std::strtod(p, &end);
        if (end == p) break;
        values.push_back(v);
        p = end;
    }
    return values;
}

double Median(std::vector<double> v) {
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char tmpl[] = "/tmp/tavo-bench-XXXXXX";
    if (!mkdtemp(tmpl)) return 1;
    const fs::path dir = tmpl;
    const fs::path song = dir / "song.wav";
    {
        const std::string wav = MakeWav(Seconds() + 15);
        std::ofstream(song, std::ios::binary).write(wav.data(), static_cast<std::streamsize>(wav.size()));
    }

    if (const char* only = std::getenv("TAVO_BENCH_ONLY")) {
        g_start = Clock::now();
        return Child(only, dir / only, song, argc, argv);
    }

    std::vector<double> startup, startupPeer, appPart, playerPart, constructPart, loadPart;
    const bool playingOnly = std::getenv("TAVO_BENCH_PLAYING_ONLY") != nullptr;
    for (int i = 0; i < (playingOnly ? 0 : 5); ++i) {
        const auto s = RunChild("startup", dir / ("s" + std::to_string(i)), song, argc, argv);
        const auto p = RunChild("startup-peer", dir, song, argc, argv);
        if (s.size() == 5) {
            startup.push_back(s[0]);
            appPart.push_back(s[1]);
            playerPart.push_back(s[2]);
            constructPart.push_back(s[3]);
            loadPart.push_back(s[4]);
        }
        if (!p.empty()) startupPeer.push_back(p[0]);
    }
    const auto player = RunChild("player", dir / "player", song, argc, argv);
    const auto peer = RunChild("peer", dir / "peer", song, argc, argv);

    std::printf("%-34s %10s %10s %8s %8s\n", "measure", "player", "peer", "ratio", "goal");
    const double su = Median(startup), sp = Median(startupPeer);
    std::printf("%-34s %10.1f %10.1f %8.2f %8s\n", "start-up to LoadDone, ms (median 5)", su, sp, su / sp, "<150");
    std::printf("%-34s %10.1f\n", "  of which QApplication, ms", Median(appPart));
    std::printf("%-34s %10.1f\n", "  of which libmpv player, ms", Median(playerPart));
    std::printf("%-34s %10.1f\n", "  of which window widgets, ms", Median(constructPart));
    std::printf("%-34s %10.1f\n", "  of which load handler, ms", Median(loadPart));
    if (player.size() == 4 && peer.size() == 4) {
        std::printf("%-34s %10.2f %10.2f %8.2f %8s\n", "CPU while playing, % of one core", player[0], peer[0],
                    player[0] / peer[0], "<=1.2x");
        std::printf("%-34s %10.2f %10.2f\n", "  of which the window thread, %", player[3], peer[3]);
        std::printf("%-34s %10.1f %10.1f %8.2f %8s\n", "resident memory while playing, MB", player[1], peer[1],
                    player[1] / peer[1], "<=1.3x");
        std::printf("%-34s %10s %10s\n", "still playing at the end", player[2] ? "yes" : "no", peer[2] ? "yes" : "no");
    }
    std::printf("playback window: %d s\n", Seconds());
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
