#pragma once
// One player per user. The first copy holds an advisory lock on
// "<runtime folder>/tavo-musicbox.lock" and listens on the local socket
// "<runtime folder>/tavo-musicbox.socket". A later copy finds the lock held,
// asks the first over the socket to show its window, and ends. A later copy
// started with files, folders or addresses hands them to the first, which
// adds and plays them.
//
// The lock is released by the system when its holder ends, however it ends,
// so a crash never leaves a lock that blocks the next start; a socket file
// left behind is replaced by the next first copy.

#include <QObject>
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QDeadlineTimer;
class QLocalServer;

namespace tavo::platform {

// The per-user runtime folder: $XDG_RUNTIME_DIR when set, otherwise a
// private folder "tavo-musicbox-<uid>" under the temporary folder (created
// with owner-only access; one owned by someone else is not used).
// Empty when none can be had.
QString RuntimeFolder();

// The request a later start sends: "raise\n" alone, or "open <n>\n"
// followed by n lines, each item percent-encoded (so no item can break a
// line). At most kMaxHandOverItems items and kMaxHandOverBytes bytes.
inline constexpr int kMaxHandOverItems = 1000;
inline constexpr qsizetype kMaxHandOverBytes = 1024 * 1024;
QByteArray HandOverRequest(const QStringList& open);

// Reads one request from the bytes received so far: nullopt while it is
// incomplete; `*bad` set when it can never become one (malformed or over
// the limits). A raise without items gives an empty list.
std::optional<QStringList> ParseHandOverRequest(const QByteArray& received, bool* bad);

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role {
        First,        // this copy runs; RaiseRequested() tells of later starts
        Second,       // another copy runs and has shown its window
        NotAnswering, // another copy holds the lock but did not answer
        Unguarded,    // no runtime folder or lock file: run without the guard
    };

    explicit SingleInstance(const QString& runtimeFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock, or asks the holder to raise its window (waiting up to
    // `answerMs` for its answer). A holder that ends meanwhile leaves the
    // lock to this copy.
    // `open` (files, folders, addresses) goes to the holder with the
    // request.
    Role Claim(int answerMs = 10000, const QStringList& open = {});
    QString LockPath() const;
    QString SocketPath() const;

Q_SIGNALS:
    // A later start asked for the window.
    void RaiseRequested();
    // A later start handed over what it was given to open (after
    // RaiseRequested for the same start).
    void OpenRequested(const QStringList& items);

private:
    bool Listen();
    // One request to the holder; true when it has shown its window.
    bool AskToRaise(const QDeadlineTimer& deadline, const QStringList& open);
    void OnConnection();

    QString folder_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
};

}  // namespace tavo::platform
