#pragma once

#include <QDBusArgument>

namespace platform {

// Writes members, in order, as one D-Bus structure.
template <typename... Members> QDBusArgument& WriteStructure(QDBusArgument& argument, const Members&... members)
{
    argument.beginStructure();
    (argument << ... << members);
    argument.endStructure();
    return argument;
}

// Reads one D-Bus structure into members, in order.
template <typename... Members> const QDBusArgument& ReadStructure(const QDBusArgument& argument, Members&... members)
{
    argument.beginStructure();
    (argument >> ... >> members);
    argument.endStructure();
    return argument;
}

} // namespace platform
