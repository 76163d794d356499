#pragma once

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QStringList>

// A status-notifier watcher on a connection of its own, from its start to its end, that answers
// as the test says: whether a host has registered with it, at once or when released; each
// registration taken, refused or never answered. It counts the questions it is asked.
class ScriptedWatcher final : public QDBusVirtualObject {
public:
    enum class Registration { Take, Refuse, Ignore };

    ScriptedWatcher(const QString& address, const QString& connectionName)
        : bus_(QDBusConnection::connectToBus(address, connectionName))
    {
        bus_.registerVirtualObject(Path(), this);
        bus_.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    }
    ~ScriptedWatcher() override
    {
        bus_.unregisterObject(Path());
        QDBusConnection::disconnectFromBus(bus_.name());
    }

    Registration registration = Registration::Take;
    bool hostRegistered = true;
    bool holdAnswers = false; // whether a host is there is answered on Release
    int questions = 0;
    int registrations = 0; // asked for
    QStringList items; // the registrations taken

    QDBusConnection& Bus() { return bus_; }
    void AnnounceHost()
    {
        bus_.send(QDBusMessage::createSignal(Path(), Interface(), QStringLiteral("StatusNotifierHostRegistered")));
    }
    void Release()
    {
        for (const QDBusMessage& question : std::exchange(held_, {}))
            AnswerHost(question);
    }
    // Calls a registered item as a host does, waiting for the answer.
    QDBusMessage CallItem(const QString& service, const QString& interface, const QString& method,
                          const QVariantList& arguments)
    {
        QDBusMessage call =
            QDBusMessage::createMethodCall(service, QStringLiteral("/StatusNotifierItem"), interface, method);
        call.setArguments(arguments);
        return bus_.call(call, QDBus::BlockWithGui);
    }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override
    {
        if (message.member() == QLatin1String("Get")) {
            ++questions;
            if (holdAnswers)
                held_.append(message);
            else
                AnswerHost(message);
        } else if (message.member() == QLatin1String("RegisterStatusNotifierItem")) {
            ++registrations;
            if (registration == Registration::Take) {
                items.append(message.arguments().value(0).toString());
                bus_.send(message.createReply());
            } else if (registration == Registration::Refuse) {
                bus_.send(message.createErrorReply(QDBusError::AccessDenied, QStringLiteral("No icons here")));
            }
        } else {
            return false;
        }
        return true;
    }

private:
    static QString Path() { return QStringLiteral("/StatusNotifierWatcher"); }
    static QString Interface() { return QStringLiteral("org.kde.StatusNotifierWatcher"); }
    void AnswerHost(const QDBusMessage& question)
    {
        bus_.send(question.createReply(QVariant::fromValue(QDBusVariant(hostRegistered))));
    }

    QDBusConnection bus_;
    QList<QDBusMessage> held_;
};
