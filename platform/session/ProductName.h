#pragma once

#include <QString>

namespace platform {

// The program's name: its application title, and the title of its general error report.
inline QString ProductName()
{
    return QStringLiteral("Stackle");
}

} // namespace platform
