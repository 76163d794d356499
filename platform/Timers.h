#pragma once

#include <functional>
#include <memory>

namespace platform {

// A timer on the user-interface thread: its handler runs every interval while it is enabled, never
// before the interval has passed.
// Setting the interval or the enabled state it already has changes nothing and does not restart
// it; a new interval restarts a running timer. An interval of 0 or less never fires. A
// realisation only starts, stops or restarts when told through Changed().
class Timer {
public:
    virtual ~Timer() = default;
    int Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    void SetInterval(int milliseconds)
    {
        if (milliseconds == interval_)
            return;
        interval_ = milliseconds;
        Changed();
    }
    void SetEnabled(bool enabled)
    {
        if (enabled == enabled_)
            return;
        enabled_ = enabled;
        Changed();
    }

protected:
    // The interval or the enabled state is new: run from now on if Running(), else stop.
    virtual void Changed() = 0;
    bool Running() const { return enabled_ && interval_ > 0; }

private:
    int interval_ = 1000;
    bool enabled_ = false;
};

class Timers {
public:
    virtual ~Timers() = default;
    // A new timer, interval 1000 ms and disabled. A failure its handler raises is shown by the
    // general error report.
    virtual std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimer) = 0;
};

} // namespace platform
