#pragma once

#include <QProcess>
#include <QString>

namespace doubles {

// A session bus of the test's own: a dbus-daemon that ends with the test, made the session bus of
// the test's process.
class PrivateSessionBus {
public:
    PrivateSessionBus()
    {
        daemon_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        if (daemon_.waitForReadyRead(10000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
    }
    ~PrivateSessionBus()
    {
        daemon_.terminate();
        daemon_.waitForFinished();
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;
    const QString& Address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

} // namespace doubles
