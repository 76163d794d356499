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

// The rules above for every timer: a subclass only starts, stops or restarts when told.
class TimerBase : public Timer {
public:
    int Interval() const override { return interval_; }
    bool Enabled() const override { return enabled_; }
    void SetInterval(int milliseconds) override
    {
        if (milliseconds == interval_)
            return;
        interval_ = milliseconds;
        Changed();
    }
    void SetEnabled(bool enabled) override
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
