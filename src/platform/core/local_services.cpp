#include "platform/core/local_services.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QTcpSocket>
#include <QUrl>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace tavo::platform {

namespace {

const QString kProgramName = QStringLiteral("tavo-services");

bool IsExecutable(const QString& path) {
    const QFileInfo f(path);
    return f.isFile() && f.isExecutable();
}

}  // namespace

QList<int> LoopbackPorts(const QStringList& addresses) {
    QList<int> ports;
    for (const QString& a : addresses) {
        const QUrl url(a.trimmed());
        if (!url.isValid() || url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) != 0) continue;
        const QString host = url.host().toLower();
        if (host != QLatin1String("127.0.0.1") && host != QLatin1String("localhost")) continue;
        const int port = url.port(80);
        if (port > 0 && !ports.contains(port)) ports.append(port);
    }
    return ports;
}

QString FindServicesProgram(const QString& executableFolder) {
    if (executableFolder.isEmpty()) return {};
    const QDir dir(executableFolder);
    for (const QString& rel : {kProgramName, QStringLiteral("../lib/tavo-musicbox/") + kProgramName}) {
        const QString path = QDir::cleanPath(dir.filePath(rel));
        if (IsExecutable(path)) return path;
    }
    return {};
}

bool SomethingListens(int port) {
    QTcpSocket s;
    s.connectToHost(QHostAddress(QHostAddress::LocalHost), static_cast<quint16>(port));
    // Loopback answers at once: refused or accepted.
    const bool ok = s.waitForConnected(1000);
    s.abort();
    return ok;
}

LocalServices::LocalServices(const QString& program, QObject* parent) : QObject(parent), program_(program) {}

LocalServices::~LocalServices() { Stop(); }

QList<int> LocalServices::Started() const {
    QList<int> ports;
    for (const Child& c : children_) ports.append(c.port);
    return ports;
}

QString LocalServices::Start(const QList<int>& ports, int startMs) {
    QStringList failed;
    QString reason;
    for (int port : ports) {
        if (SomethingListens(port)) continue;
        const QString why = StartOne(port, startMs);
        if (why.isEmpty()) continue;
        failed.append(QString::number(port));
        if (reason.isEmpty()) reason = why;
    }
    if (failed.isEmpty()) return {};
    return QStringLiteral("本地服务没有启动（127.0.0.1 端口 %1）：%2\n"
                          "在线歌单和搜索暂时不能用；收藏、本地文件和日历照常可用。")
        .arg(failed.join(QStringLiteral("、")), reason);
}

QString LocalServices::StartOne(int port, int startMs) {
    if (program_.isEmpty() || !IsExecutable(program_)) return QStringLiteral("找不到程序 %1。").arg(kProgramName);

    auto p = std::make_unique<QProcess>();
    p->setProgram(program_);
    p->setArguments({QStringLiteral("--port"), QString::number(port)});
    p->setStandardInputFile(QProcess::nullDevice());
    // The services end with the player, even when the player is killed.
    const pid_t parent = ::getpid();
    p->setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(1);
    });
    p->start();
    if (!p->waitForStarted(startMs)) return QStringLiteral("无法运行 %1。").arg(program_);

    // It prints "listening on ..." once it accepts requests.
    const QDeadlineTimer deadline(startMs);
    QByteArray out;
    while (!out.contains("listening on")) {
        if (p->state() != QProcess::Running || deadline.hasExpired()) break;
        p->waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        out += p->readAllStandardOutput();
    }
    if (out.contains("listening on")) {
        children_.push_back({port, std::move(p)});
        return {};
    }
    if (p->state() == QProcess::Running) {
        p->kill();
        p->waitForFinished(1000);
        return QStringLiteral("%1 没有响应。").arg(kProgramName);
    }
    p->waitForFinished(1000);
    const QString err = QString::fromLocal8Bit(p->readAllStandardError()).trimmed().section(QLatin1Char('\n'), 0, 0);
    return err.isEmpty() ? QStringLiteral("%1 意外退出。").arg(kProgramName) : err;
}

void LocalServices::Stop() {
    for (Child& c : children_) c.process->terminate();
    for (Child& c : children_) {
        if (!c.process->waitForFinished(3000)) {
            c.process->kill();
            c.process->waitForFinished(1000);
        }
    }
    children_.clear();
}

}  // namespace tavo::platform
