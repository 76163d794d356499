#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The clock row's text for a moment: the abbreviated month, one blank, the day, two blanks, the
// hour on the 12-hour clock (0 and 12 show as 12), the time separator, two-digit minutes and
// one trailing blank. The AM and PM designators are empty, so nothing follows that blank.
QString ClockText(const QDateTime& when, const QStringList& shortMonthNames, const QString& timeSeparator);
