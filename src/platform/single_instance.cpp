#include "platform/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <algorithm>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavo::platform {

namespace {

const QByteArray kRaise = "raise\n";
const QByteArray kShown = "shown\n";

}  // namespace

QString RuntimeFolder() {
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QDir(xdg).exists()) return xdg;
    const QString own = QDir::tempPath() + QStringLiteral("/tavo-musicbox-%1").arg(::getuid());
    const QByteArray path = QFile::encodeName(own);
    ::mkdir(path.constData(), 0700);
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & 077) != 0)
        return {};
    return own;
}

SingleInstance::SingleInstance(const QString& runtimeFolder, QObject* parent)
    : QObject(parent), folder_(runtimeFolder) {}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();  // removes the socket file
    if (lockFd_ >= 0) ::close(lockFd_);
}

QString SingleInstance::LockPath() const { return folder_ + QStringLiteral("/tavo-musicbox.lock"); }
QString SingleInstance::SocketPath() const { return folder_ + QStringLiteral("/tavo-musicbox.socket"); }

SingleInstance::Role SingleInstance::Claim(int answerMs) {
    if (folder_.isEmpty()) return Role::Unguarded;
    // Close-on-exec: a child (the local services) must not keep the lock.
    const int fd = ::open(QFile::encodeName(LockPath()).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return Role::Unguarded;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        lockFd_ = fd;
        // Without the socket later starts cannot reach us; the lock still
        // keeps them from running a second player.
        Listen();
        return Role::First;
    }
    ::close(fd);
    return AskToRaise(answerMs) ? Role::Second : Role::NotAnswering;
}

bool SingleInstance::Listen() {
    // Holding the lock, any socket file is a dead copy's.
    QLocalServer::removeServer(SocketPath());
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(SocketPath())) return false;
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
    return true;
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* s = server_->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        connect(s, &QLocalSocket::readyRead, this, [this, s] {
            // One short request line; anything longer is not ours.
            if (s->bytesAvailable() > 64) {
                s->abort();
                return;
            }
            if (!s->canReadLine()) return;
            if (s->readLine() == kRaise) {
                Q_EMIT RaiseRequested();
                s->write(kShown);
                s->flush();
            }
            s->disconnectFromServer();
        });
    }
}

bool SingleInstance::AskToRaise(int answerMs) {
    // The first copy may hold the lock a moment before it listens: retry
    // until the deadline.
    const QDeadlineTimer deadline(answerMs);
    while (!deadline.hasExpired()) {
        QLocalSocket s;
        s.connectToServer(SocketPath());
        if (s.waitForConnected(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
            s.write(kRaise);
            if (!s.waitForBytesWritten(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) return false;
            while (!s.canReadLine() && s.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
            }
            return s.canReadLine() && s.readLine() == kShown;
        }
        QThread::msleep(50);
    }
    return false;
}

}  // namespace tavo::platform
