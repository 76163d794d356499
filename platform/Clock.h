#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace platform {

// The local date and time, and the locale's words for showing them.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
    // The twelve abbreviated month names, January first.
    virtual QStringList ShortMonthNames() const = 0;
    // The text between hours and minutes, ":" in most locales.
    virtual QString TimeSeparator() const = 0;
};

} // namespace platform
