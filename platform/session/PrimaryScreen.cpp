#include "platform/session/PrimaryScreen.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace platform {

PrimaryScreen::PrimaryScreen() = default;

PrimaryScreen::~PrimaryScreen() = default;

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

std::vector<QRect> PrimaryScreen::MonitorGeometries() const
{
    std::vector<QRect> monitors;
    for (const QScreen* screen : QGuiApplication::screens())
        monitors.push_back(screen->geometry());
    return monitors;
}

void PrimaryScreen::OnMonitorsChanged(std::function<void()> onChange)
{
    watch_.reset();
    if (!onChange || !qGuiApp)
        return;
    watch_ = std::make_unique<QObject>();
    QObject* watch = watch_.get();
    // Queued, so that the handler sees the screens once Qt has taken in the whole change.
    const auto changed = [watch, onChange] { QMetaObject::invokeMethod(watch, onChange, Qt::QueuedConnection); };
    const auto watchScreen = [watch, changed](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, watch, changed);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watchScreen(screen);
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, watch, [watchScreen, changed](QScreen* screen) {
        watchScreen(screen);
        changed();
    });
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, watch, changed);
}

} // namespace platform
