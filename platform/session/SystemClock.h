#pragma once

#include "platform/Clock.h"

namespace platform {

// The system's time and the system locale.
class SystemClock final : public Clock {
public:
    QDateTime now() const override;
    QStringList shortMonthNames() const override;
    QString timeSeparator() const override;
};

} // namespace platform
