#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <memory>

namespace platform {

// A connection to the session bus, made on a thread of its own: libdbus may first start a bus
// (autolaunch) or wait for one that is slow to answer, for seconds, and the user-interface thread
// must not wait with it. Meanwhile nothing on this thread may use QtDBus's connections, which
// wait for that one. Made reports the connection, or one that is not connected when there is no
// bus. The connection is closed when the object goes, or as soon as it is made if that is later.
class BackgroundBusConnection final : public QObject {
    Q_OBJECT
public:
    BackgroundBusConnection(const QString& name, QObject* parent);
    ~BackgroundBusConnection() override;

signals:
    void Made(const QDBusConnection& bus);

private:
    struct Attempt;
    std::shared_ptr<Attempt> attempt_;
};

} // namespace platform
