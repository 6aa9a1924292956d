#include "platform/core/single_instance.h"

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
    // The holder may be ending: it no longer answers, and its lock goes with
    // it. So until the deadline, ask it and try the lock again in turn.
    const QDeadlineTimer deadline(answerMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            lockFd_ = fd;
            // Without the socket later starts cannot reach us; the lock still
            // keeps them from running a second player.
            Listen();
            return Role::First;
        }
        if (AskToRaise(deadline)) {
            ::close(fd);
            return Role::Second;
        }
        if (deadline.hasExpired()) {
            ::close(fd);
            return Role::NotAnswering;
        }
        // No socket yet (the holder is starting) or none any more (it is
        // ending).
        QThread::msleep(50);
    }
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

bool SingleInstance::AskToRaise(const QDeadlineTimer& deadline) {
    const auto left = [&deadline] { return static_cast<int>(std::max<qint64>(1, deadline.remainingTime())); };
    QLocalSocket s;
    s.connectToServer(SocketPath());
    if (!s.waitForConnected(left())) return false;
    s.write(kRaise);
    if (!s.waitForBytesWritten(left())) return false;
    // A holder still starting answers once its event loop runs; one that is
    // ending closes the connection unanswered.
    while (!s.canReadLine() && s.waitForReadyRead(left())) {
    }
    return s.canReadLine() && s.readLine() == kShown;
}

}  // namespace tavo::platform
