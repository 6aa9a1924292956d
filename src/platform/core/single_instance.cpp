#include "platform/core/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavo::platform {

namespace {

const QByteArray kRaise = "raise\n";
const QByteArray kShown = "shown\n";
const QByteArray kOpen = "open ";

}  // namespace

QByteArray HandOverRequest(const QStringList& open) {
    if (open.isEmpty()) return kRaise;
    const qsizetype n = std::min<qsizetype>(open.size(), kMaxHandOverItems);
    QByteArray body;
    qsizetype written = 0;
    for (; written < n; ++written) {
        const QByteArray line = QUrl::toPercentEncoding(open[written]) + '\n';
        if (body.size() + line.size() + 64 > kMaxHandOverBytes) break;
        body += line;
    }
    // The count names what was written: the byte limit may cut the list.
    if (written == 0) return kRaise;
    return kOpen + QByteArray::number(written) + '\n' + body;
}

std::optional<QStringList> ParseHandOverRequest(const QByteArray& received, bool* bad) {
    *bad = false;
    if (received.size() > kMaxHandOverBytes) {
        *bad = true;
        return std::nullopt;
    }
    const qsizetype headEnd = received.indexOf('\n');
    if (headEnd < 0) {
        // Still arriving: only a prefix of one of the two heads may wait.
        const bool prefix = kRaise.startsWith(received) || received.startsWith(kOpen) || kOpen.startsWith(received);
        *bad = received.size() > 64 || !prefix;
        return std::nullopt;
    }
    const QByteArray head = received.left(headEnd + 1);
    if (head == kRaise) {
        if (received.size() != head.size()) *bad = true;
        return *bad ? std::nullopt : std::optional<QStringList>(QStringList{});
    }
    bool ok = false;
    const int n = head.startsWith(kOpen) ? head.mid(kOpen.size()).trimmed().toInt(&ok) : 0;
    if (!ok || n < 1 || n > kMaxHandOverItems) {
        *bad = true;
        return std::nullopt;
    }
    QStringList items;
    qsizetype at = headEnd + 1;
    for (int i = 0; i < n; ++i) {
        const qsizetype end = received.indexOf('\n', at);
        if (end < 0) return std::nullopt;
        items.append(QUrl::fromPercentEncoding(received.mid(at, end - at)));
        at = end + 1;
    }
    if (at != received.size()) {
        *bad = true;  // more than one request
        return std::nullopt;
    }
    return items;
}

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

SingleInstance::Role SingleInstance::Claim(int answerMs, const QStringList& open) {
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
        if (AskToRaise(deadline, open)) {
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
        auto received = std::make_shared<QByteArray>();
        connect(s, &QLocalSocket::readyRead, this, [this, s, received] {
            // One request, bounded; anything else is not ours.
            received->append(s->read(kMaxHandOverBytes + 1 - received->size()));
            bool bad = false;
            const std::optional<QStringList> items = ParseHandOverRequest(*received, &bad);
            if (bad) {
                s->abort();
                return;
            }
            if (!items) return;
            Q_EMIT RaiseRequested();
            if (!items->isEmpty()) Q_EMIT OpenRequested(*items);
            s->write(kShown);
            s->flush();
            s->disconnectFromServer();
        });
    }
}

bool SingleInstance::AskToRaise(const QDeadlineTimer& deadline, const QStringList& open) {
    const auto left = [&deadline] { return static_cast<int>(std::max<qint64>(1, deadline.remainingTime())); };
    QLocalSocket s;
    s.connectToServer(SocketPath());
    if (!s.waitForConnected(left())) return false;
    s.write(HandOverRequest(open));
    while (s.bytesToWrite() > 0)
        if (!s.waitForBytesWritten(left())) return false;
    // A holder still starting answers once its event loop runs; one that is
    // ending closes the connection unanswered.
    while (!s.canReadLine() && s.waitForReadyRead(left())) {
    }
    return s.canReadLine() && s.readLine() == kShown;
}

}  // namespace tavo::platform
