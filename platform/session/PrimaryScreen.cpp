#include "platform/session/PrimaryScreen.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace platform {

QSize PrimaryScreen::PrimarySize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

namespace {

// How far point lies outside rect, as the sum of both directions' distances.
int Distance(QPoint point, const QRect& rect)
{
    const int dx = point.x() < rect.left() ? rect.left() - point.x() : std::max(0, point.x() - rect.right());
    const int dy = point.y() < rect.top() ? rect.top() - point.y() : std::max(0, point.y() - rect.bottom());
    return dx + dy;
}

} // namespace

QRect PrimaryScreen::ScreenGeometryAt(QPoint point) const
{
    QRect nearest(QPoint(), PrimarySize());
    int nearestDistance = std::numeric_limits<int>::max();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const int distance = Distance(point, screen->geometry());
        if (distance < nearestDistance) {
            nearest = screen->geometry();
            nearestDistance = distance;
        }
    }
    return nearest;
}

} // namespace platform
