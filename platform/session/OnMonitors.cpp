#include "platform/session/OnMonitors.h"

#include <QRegion>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace platform {

namespace {

std::int64_t Area(const QRect& rect)
{
    return std::int64_t(rect.width()) * rect.height();
}

// The area of window that lies on some monitor, counted once where monitors overlap.
std::int64_t AreaOnMonitors(const QRect& window, const std::vector<QRect>& monitors)
{
    QRegion covered;
    for (const QRect& monitor : monitors)
        covered += monitor.intersected(window);
    std::int64_t area = 0;
    for (const QRect& part : covered)
        area += Area(part);
    return area;
}

// The nearest start of a span of length that lies wholly within [low, low + room): start itself
// when it already does; low when the span is longer than the room.
int Within(int start, int length, int low, int room)
{
    return std::max(low, std::min(start, low + room - length));
}

} // namespace

QPoint KeptOnMonitors(const QRect& window, const std::vector<QRect>& monitors)
{
    if (monitors.empty() || 2 * AreaOnMonitors(window, monitors) >= Area(window))
        return window.topLeft();
    QPoint nearest = window.topLeft();
    std::int64_t leastMove = std::numeric_limits<std::int64_t>::max();
    for (const QRect& monitor : monitors) {
        const QPoint place(Within(window.x(), window.width(), monitor.x(), monitor.width()),
                           Within(window.y(), window.height(), monitor.y(), monitor.height()));
        const QPoint move = place - window.topLeft();
        const std::int64_t distance = std::int64_t(move.x()) * move.x() + std::int64_t(move.y()) * move.y();
        if (distance < leastMove) {
            nearest = place;
            leastMove = distance;
        }
    }
    return nearest;
}

} // namespace platform
