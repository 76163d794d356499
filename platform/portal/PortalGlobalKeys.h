#pragma once

#include "platform/GlobalKeys.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>

namespace platform {

// Keys taken through the desktop portal's global shortcuts, the way a Wayland desktop lets
// programs have keys: the program asks for a session, then binds its keys in it, each with the key
// it would like; the desktop asks the user to confirm or choose others, and tells the program
// when one is pressed. What the desktop refuses it says to the user itself.
class PortalGlobalKeys final : public QObject, public GlobalKeys {
    Q_OBJECT
public:
    explicit PortalGlobalKeys(QDBusConnection bus);

    // Whether the desktop on bus has a portal that offers global shortcuts; asks it, waiting at
    // most timeout milliseconds.
    static bool Offered(const QDBusConnection& bus, int timeout);

    QStringList Take(const std::vector<GlobalKey>& keys, std::function<void(const QString& id)> onPress) override;

private slots:
    void SessionCreated(uint response, const QVariantMap& results);
    void Activated(const QDBusMessage& signal);

private:
    // The path the portal answers a call made with token on: its request object.
    QString RequestPath(const QString& token) const;
    void Bind();

    QDBusConnection bus_;
    std::vector<GlobalKey> keys_;
    std::function<void(const QString&)> onPress_;
    QString session_;
    int requests_ = 0; // tokens used so far
};

// The trigger the desktop's shortcut settings write for key ("CTRL+ALT+s", "LOGO+1"); empty when
// it has none.
QString PortalTrigger(const QKeySequence& key);

} // namespace platform
