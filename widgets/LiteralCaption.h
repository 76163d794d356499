#pragma once

#include <QString>

namespace widgets {

// A caption that shows every '&' as it is: buttons, tabs and menus take a single '&' for the
// mark of a keyboard shortcut.
inline QString LiteralCaption(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// A tool tip that shows the text as it is, on one line, however much it looks like markup: a
// tool tip that does is read as markup.
inline QString LiteralToolTip(const QString& text)
{
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

} // namespace widgets
