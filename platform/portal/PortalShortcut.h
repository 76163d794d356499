#pragma once

#include <QDBusArgument>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

namespace platform {

// One key as the desktop portal's global shortcuts take it: its id and its properties, (sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

// Makes PortalShortcut, and lists of it, known to QtDBus; safe to call again.
void RegisterPortalShortcutTypes();

} // namespace platform

Q_DECLARE_METATYPE(platform::PortalShortcut)
