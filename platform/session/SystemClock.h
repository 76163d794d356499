#pragma once

#include "platform/Clock.h"

#include <optional>

namespace platform {

// The system's time and the system locale, whose names are worked out once, when first asked for.
class SystemClock final : public Clock {
public:
    QDateTime now() const override;
    QStringList shortMonthNames() const override;
    QString timeSeparator() const override;

private:
    mutable std::optional<QStringList> monthNames_;
    mutable std::optional<QString> timeSeparator_;
};

} // namespace platform
