#pragma once

#include <QString>

namespace widgets {

// A caption that shows every '&' as it is: buttons, tabs and menus take a single '&' for the
// mark of a keyboard shortcut.
inline QString LiteralCaption(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace widgets
