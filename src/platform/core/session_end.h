#pragma once
// Termination signals (SIGTERM, SIGINT, SIGHUP) as an event of the UI
// thread: the signal handler only writes a byte to a pipe, and a socket
// notifier on the other end raises EndRequested where the program's
// handlers run. While a SessionEnd lives, those signals no longer end the
// program by themselves; its destruction restores the default actions.

#include <QObject>

class QSocketNotifier;

namespace tavo::platform {

class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

    // Whether the handlers are in place (false when the pipe could not be made).
    bool Active() const { return notifier_ != nullptr; }

Q_SIGNALS:
    // A termination signal arrived: end the program the orderly way.
    void EndRequested(int signalNumber);

private:
    void OnReadable();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tavo::platform
