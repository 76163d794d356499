#pragma once

#include "platform/Timers.h"

namespace platform {

class Dialogs;

// Timers of Qt's event loop.
class QtTimers final : public Timers {
public:
    // A failure a handler raises is shown by the general error report on dialogs.
    explicit QtTimers(Dialogs& dialogs)
        : dialogs_(dialogs)
    {
    }
    std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimer) override;

private:
    Dialogs& dialogs_;
};

} // namespace platform
