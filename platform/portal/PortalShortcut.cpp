#include "platform/portal/PortalShortcut.h"

#include "platform/dbus/DBusStructure.h"

#include <QDBusMetaType>

namespace platform {

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    return WriteStructure(argument, shortcut.id, shortcut.properties);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    return ReadStructure(argument, shortcut.id, shortcut.properties);
}

void RegisterPortalShortcutTypes()
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

} // namespace platform
