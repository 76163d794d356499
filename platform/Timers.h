#pragma once

#include <functional>
#include <memory>

namespace platform {

// A timer on the user-interface thread: its handler runs every interval while it is enabled.
// Setting the interval or the enabled state it already has changes nothing and does not restart
// it; a new interval restarts a running timer. An interval of 0 or less never fires.
class Timer {
public:
    virtual ~Timer() = default;
    virtual int Interval() const = 0;
    virtual void SetInterval(int milliseconds) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
};

class Timers {
public:
    virtual ~Timers() = default;
    // A new timer, interval 1000 ms and disabled. A failure its handler raises is shown by the
    // general error report.
    virtual std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimer) = 0;
};

} // namespace platform
