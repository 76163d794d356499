#include "platform/session/QtTimers.h"

#include "platform/session/ErrorReport.h"

#include <QTimer>

namespace platform {

namespace {

// QTimer restarts on every setInterval and start; this one only on a real change. It never fires
// before its interval has passed: a coarse timer may fire a twentieth of it early, and a click
// timer that waits out the double-click time must not.
class QtTimer final : public Timer {
public:
    QtTimer(Dialogs& dialogs, std::function<void()> onTimer)
    {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, &timer_,
                         [&dialogs, onTimer = std::move(onTimer)] { ReportFailure(dialogs, onTimer); });
    }

private:
    void Changed() override
    {
        if (Running())
            timer_.start(Interval());
        else
            timer_.stop();
    }

    QTimer timer_;
};

} // namespace

std::unique_ptr<Timer> QtTimers::CreateTimer(std::function<void()> onTimer)
{
    return std::make_unique<QtTimer>(dialogs_, std::move(onTimer));
}

} // namespace platform
