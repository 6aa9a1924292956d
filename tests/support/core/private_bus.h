#pragma once
// A private D-Bus session bus for one test (its own dbus-daemon), and
// dbus-send as an outside client of it.

#include "support/event_loop.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace tavo::test {

class PrivateBus {
public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                       QStringLiteral("--print-address=1")});
        if (!daemon_.waitForStarted(5000)) return;
        QByteArray line;
        while (!line.endsWith('\n') && daemon_.waitForReadyRead(5000)) line += daemon_.readAllStandardOutput();
        address_ = QString::fromUtf8(line).trimmed();
    }
    ~PrivateBus() {
        daemon_.kill();
        daemon_.waitForFinished(2000);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool ok() const { return !address_.isEmpty(); }
    const QString& address() const { return address_; }

    struct Reply {
        int code = -1;  // -1: no answer within 10 s
        QString out;
        QString err;
    };
    // dbus-send --print-reply on this bus, the event loop running meanwhile
    // (so that a service of this process can answer).
    Reply Send(const QString& dest, const QString& method, const QStringList& args = {}) const {
        QProcess p;
        QStringList all{QStringLiteral("--bus=") + address_, QStringLiteral("--print-reply"),
                        QStringLiteral("--dest=") + dest, QStringLiteral("/org/mpris/MediaPlayer2"), method};
        all += args;
        p.start(QStringLiteral("dbus-send"), all);
        if (!WaitFor([&] { return p.state() == QProcess::NotRunning; }, 10000)) {
            p.kill();
            p.waitForFinished(1000);
            return {};
        }
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

private:
    QProcess daemon_;
    QString address_;
};

}  // namespace tavo::test
