#include "platform/session/OnMonitors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::KeptOnMonitors;

const QSize Strip(236, 104);
const QRect Single(0, 0, 1024, 768);

QPoint Kept(QPoint at, const std::vector<QRect>& monitors)
{
    return KeptOnMonitors(QRect(at, Strip), monitors);
}

TEST(KeptOnMonitors, MovesALostWindowWhollyOntoTheMonitorByTheLeastMove)
{
    EXPECT_EQ(Kept({-500, 0}, {Single}), QPoint(0, 0));
    EXPECT_EQ(Kept({5000, 3000}, {Single}), QPoint(788, 664));
    // Only the direction it is off in changes.
    EXPECT_EQ(Kept({1500, 100}, {Single}), QPoint(788, 100));
    // The nearer monitor, although the other is listed first.
    EXPECT_EQ(Kept({2500, 100}, {Single, QRect(3000, 0, 1024, 768)}), QPoint(3000, 100));
    // A window larger than the monitor keeps its left and top edges on it.
    EXPECT_EQ(KeptOnMonitors(QRect(5000, 5000, 1000, 700), {QRect(10, 20, 800, 600)}), QPoint(10, 20));
}

TEST(KeptOnMonitors, LeavesAWindowAtLeastHalfOnTheMonitors)
{
    EXPECT_EQ(Kept({-118, 0}, {Single}), QPoint(-118, 0)); // exactly half
    EXPECT_EQ(Kept({-119, 0}, {Single}), QPoint(0, 0));
    EXPECT_EQ(Kept({300, 716}, {Single}), QPoint(300, 716));
    EXPECT_EQ(Kept({300, 717}, {Single}), QPoint(300, 664));
    // No monitor alone holds half of it, both together do.
    EXPECT_EQ(Kept({950, 700}, {Single, QRect(1024, 0, 1024, 768)}), QPoint(950, 700));
    // Monitors showing the same part of the desktop count it once.
    EXPECT_EQ(Kept({-150, 0}, {Single, Single}), QPoint(0, 0));
    // Nowhere to go.
    EXPECT_EQ(Kept({-500, 0}, {}), QPoint(-500, 0));
}

} // namespace
