#include "app/ClockText.h"

QString ClockText(const QDateTime& when, const QStringList& shortMonthNames, const QString& timeSeparator)
{
    const QDate date = when.date();
    const QTime time = when.time();
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return shortMonthNames.value(date.month() - 1) + QLatin1Char(' ') + QString::number(date.day())
        + QStringLiteral("  ") + QString::number(hour) + timeSeparator
        + QStringLiteral("%1 ").arg(time.minute(), 2, 10, QLatin1Char('0'));
}
