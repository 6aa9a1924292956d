#pragma once
// The built player as a process of its own, as a user starts it: headless,
// silent, with a home, settings, runtime folder and program folder of the
// test's own, and no session bus unless the test gives one.

#include "support/event_loop.h"
#include "support/temp_dir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTcpServer>

#include <csignal>
#include <filesystem>
#include <string>

#include <sys/stat.h>

namespace tavo::test {

// A port where nothing listens now.
inline int FreePort() {
    QTcpServer s;
    if (!s.listen(QHostAddress::LocalHost, 0)) return 0;
    return s.serverPort();
}

// The folders one player uses.
class PlayerHome {
public:
    PlayerHome() {
        std::filesystem::create_directories(runtime());
        ::chmod(runtime().c_str(), 0700);
        std::filesystem::create_directories(dir / "home");
    }
    std::filesystem::path runtime() const { return dir / "run"; }
    std::filesystem::path program() const { return dir / "program"; }
    std::filesystem::path home() const { return dir / "home"; }
    std::filesystem::path userData() const { return home() / ".local/share/tavo-musicbox"; }
    QString Q(const std::filesystem::path& p) const { return QString::fromStdString(p.string()); }

    // A program folder with the default skin whose services live on `port`.
    void MakeProgramFolder(int port) const {
        dir.Write("program/skin/\u84dd\u8272\u79d1\u6280/skin.ini", "\xe6\xa0\x87\xe9\xa2\x98=1,2,3\r\n");
        dir.Write("program/services.ini", ServicesIni(port));
    }
    static std::string ServicesIni(int port) {
        const std::string base = "http://127.0.0.1:" + std::to_string(port);
        std::string ini;
        for (const char* key : {"RadioPlaylist", "RadioFeed", "ChartSite", "SongSearch", "Lyrics", "MakerSite"})
            ini += std::string(key) + "=" + base + "\r\n";
        return ini;
    }

    // The environment of a player using these folders (TAVO_HOME = the
    // program folder unless `programFolder` says otherwise; empty: unset).
    QProcessEnvironment Environment(const QString& programFolder) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"DBUS_SESSION_BUS_ADDRESS", "TAVO_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "http_proxy",
                              "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "no_proxy"})
            env.remove(QString::fromLatin1(v));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TAVO_AUDIO_OUTPUT"), QStringLiteral("null"));
        env.insert(QStringLiteral("HOME"), Q(home()));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Q(runtime()));
        if (!programFolder.isEmpty()) env.insert(QStringLiteral("TAVO_HOME"), programFolder);
        return env;
    }
    QProcessEnvironment Environment() const { return Environment(Q(program())); }

    TempDir dir;
};

// One run of a player program.
class PlayerProcess {
public:
    explicit PlayerProcess(const QString& program = QStringLiteral(TAVO_BIN_DIR "/tavo-musicbox")) {
        p_.setProgram(program);
    }
    ~PlayerProcess() {
        if (p_.state() != QProcess::NotRunning) {
            p_.kill();
            p_.waitForFinished(5000);
        }
    }
    void Start(const QProcessEnvironment& env, const QStringList& args = {}) {
        p_.setProcessEnvironment(env);
        p_.setArguments(args);
        p_.start();
        p_.waitForStarted(10000);
    }
    bool Running() const { return p_.state() != QProcess::NotRunning; }
    // Waits (the event loop running) for the end; false when it runs on.
    bool WaitEnd(int ms) {
        return WaitFor([&] { return p_.state() == QProcess::NotRunning; }, ms);
    }
    void Signal(int sig) const { ::kill(static_cast<pid_t>(p_.processId()), sig); }
    int ExitCode() const { return p_.exitStatus() == QProcess::NormalExit ? p_.exitCode() : -1; }
    QString Out() { return out_ += QString::fromUtf8(p_.readAllStandardOutput()); }
    QString Err() { return err_ += QString::fromUtf8(p_.readAllStandardError()); }

private:
    QProcess p_;
    QString out_, err_;
};

}  // namespace tavo::test
