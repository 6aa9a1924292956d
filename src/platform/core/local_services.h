#pragma once
// The bundled local services ("tavo-services": song lists, song search,
// lyrics and demo songs), started with the player for the session when the
// services file points at a loopback address where nothing listens, and
// stopped when the player ends. Where something already listens, it is used
// as it is.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QProcess;

namespace tavo::platform {

// The ports of `addresses` that the bundled services can serve: http
// addresses on 127.0.0.1 or localhost, each port once, in order.
QList<int> LoopbackPorts(const QStringList& addresses);

// The services program beside the player: "<folder>/tavo-services" (the
// build tree) or "<folder>/../lib/tavo-musicbox/tavo-services" (installed).
// Empty when neither is there.
QString FindServicesProgram(const QString& executableFolder);

// Whether something accepts connections on 127.0.0.1:port.
bool SomethingListens(int port);

class LocalServices : public QObject {
    Q_OBJECT
public:
    explicit LocalServices(const QString& program, QObject* parent = nullptr);
    ~LocalServices() override;

    // Starts the services on every port of `ports` where nothing listens and
    // waits (up to `startMs` each) until they listen. Returns one message
    // for all that failed, empty when all is well.
    QString Start(const QList<int>& ports, int startMs = 5000);
    // Stops what Start() started (also done on destruction).
    void Stop();
    QList<int> Started() const;

private:
    QString StartOne(int port, int startMs);

    QString program_;
    struct Child {
        int port;
        std::unique_ptr<QProcess> process;
    };
    std::vector<Child> children_;
};

}  // namespace tavo::platform
