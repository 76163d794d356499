#pragma once

#include "platform/Clock.h"

#include <optional>

namespace platform {

// The system's time and the system locale, whose names are worked out once, when first asked for.
class SystemClock final : public Clock {
public:
    QDateTime Now() const override;
    QStringList ShortMonthNames() const override;
    QString TimeSeparator() const override;

private:
    mutable std::optional<QStringList> monthNames_;
    mutable std::optional<QString> timeSeparator_;
};

} // namespace platform
