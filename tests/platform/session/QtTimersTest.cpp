#include "platform/session/QtTimers.h"

#include "platform/session/QtDialogs.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// A click timer waits out the double-click time and must never fire before it has passed,
// whenever within the second it was started: a coarse timer rounds its wake-up to nearby
// round times, up to a twentieth of its interval early. Timers started a little apart across
// one interval meet every such rounding.
TEST(QtTimers, NeverFireBeforeTheirInterval)
{
    constexpr int Interval = 400;
    constexpr int Timers = 20;
    platform::QtDialogs dialogs;
    platform::QtTimers timers(dialogs);
    std::vector<std::unique_ptr<platform::Timer>> started;
    std::vector<QElapsedTimer> since(Timers);
    std::vector<qint64> firedAfter(Timers, -1);
    for (int i = 0; i < Timers; ++i) {
        started.push_back(timers.CreateTimer([&, i] {
            firedAfter[std::size_t(i)] = since[std::size_t(i)].elapsed();
            started[std::size_t(i)]->SetEnabled(false);
        }));
        started.back()->SetInterval(Interval);
        since[std::size_t(i)].start();
        started.back()->SetEnabled(true);
        QTest::qWait(Interval / Timers);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::ranges::count(firedAfter, -1) == 0; }, 3 * Interval));
    for (int i = 0; i < Timers; ++i)
        EXPECT_GE(firedAfter[std::size_t(i)], Interval) << "timer " << i;
}

} // namespace
