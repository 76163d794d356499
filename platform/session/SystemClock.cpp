#include "platform/session/SystemClock.h"

#include <QLocale>

namespace platform {

QDateTime SystemClock::Now() const
{
    return QDateTime::currentDateTime();
}

namespace {

QStringList LocaleMonthNames()
{
    const QLocale locale = QLocale::system();
    QStringList names;
    for (int month = 1; month <= 12; ++month)
        names << locale.monthName(month, QLocale::ShortFormat);
    return names;
}

// The locale has no separate entry for it: take what follows the hours in its time format.
QString LocaleTimeSeparator()
{
    const QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
    qsizetype i = format.indexOf(QLatin1Char('h'), 0, Qt::CaseInsensitive);
    if (i < 0)
        return QStringLiteral(":");
    while (i < format.size() && format[i].toLower() == QLatin1Char('h'))
        ++i;
    const qsizetype start = i;
    while (i < format.size() && format[i] != QLatin1Char('m'))
        ++i;
    return start < i ? format.mid(start, i - start) : QStringLiteral(":");
}

} // namespace

QStringList SystemClock::ShortMonthNames() const
{
    if (!monthNames_)
        monthNames_ = LocaleMonthNames();
    return *monthNames_;
}

QString SystemClock::TimeSeparator() const
{
    if (!timeSeparator_)
        timeSeparator_ = LocaleTimeSeparator();
    return *timeSeparator_;
}

} // namespace platform
