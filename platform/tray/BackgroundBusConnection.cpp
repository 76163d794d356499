#include "platform/tray/BackgroundBusConnection.h"

#include <QMutex>
#include <QThread>

namespace platform {

// What the thread and the object share: whichever of them is done second closes the connection.
struct BackgroundBusConnection::Attempt {
    QString name;
    QMutex mutex;
    bool made = false;
    bool abandoned = false;
};

BackgroundBusConnection::BackgroundBusConnection(const QString& name, QObject* parent)
    : QObject(parent)
    , attempt_(std::make_shared<Attempt>())
{
    attempt_->name = name;
    QThread* thread = QThread::create([attempt = attempt_, receiver = this] {
        const QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, attempt->name);
        const QMutexLocker lock(&attempt->mutex);
        attempt->made = true;
        if (attempt->abandoned)
            QDBusConnection::disconnectFromBus(attempt->name);
        else // the receiver lives until it has taken the lock
            QMetaObject::invokeMethod(
                receiver, [receiver, bus] { emit receiver->Made(bus); }, Qt::QueuedConnection);
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

BackgroundBusConnection::~BackgroundBusConnection()
{
    const QMutexLocker lock(&attempt_->mutex);
    attempt_->abandoned = true;
    if (attempt_->made)
        QDBusConnection::disconnectFromBus(attempt_->name);
}

} // namespace platform
