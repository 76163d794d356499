#include "platform/session/QtTimers.h"

#include "platform/session/ErrorReport.h"

#include <QTimer>

namespace platform {

namespace {

// QTimer restarts on every setInterval and start; this one only on a real change.
class QtTimer final : public Timer {
public:
    QtTimer(Dialogs& dialogs, std::function<void()> onTimer)
    {
        QObject::connect(&timer_, &QTimer::timeout, &timer_,
                         [&dialogs, onTimer = std::move(onTimer)] { ReportFailure(dialogs, onTimer); });
    }

    int Interval() const override { return interval_; }
    bool Enabled() const override { return enabled_; }

    void SetInterval(int milliseconds) override
    {
        if (milliseconds == interval_)
            return;
        interval_ = milliseconds;
        Update();
    }

    void SetEnabled(bool enabled) override
    {
        if (enabled == enabled_)
            return;
        enabled_ = enabled;
        Update();
    }

private:
    void Update()
    {
        if (enabled_ && interval_ > 0)
            timer_.start(interval_);
        else
            timer_.stop();
    }

    QTimer timer_;
    int interval_ = 1000;
    bool enabled_ = false;
};

} // namespace

std::unique_ptr<Timer> QtTimers::CreateTimer(std::function<void()> onTimer)
{
    return std::make_unique<QtTimer>(dialogs_, std::move(onTimer));
}

} // namespace platform
