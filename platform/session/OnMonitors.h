#pragma once

#include <QPoint>
#include <QRect>

#include <vector>

namespace platform {

// Where a window that covers window goes so that the user can reach it on the monitors: where it
// is while at least half of its area lies on them; otherwise wholly on the monitor that the
// least move brings it onto (its left and top edges on the monitor when it is larger). With no
// monitor known it stays where it is.
QPoint KeptOnMonitors(const QRect& window, const std::vector<QRect>& monitors);

} // namespace platform
