#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <vector>

namespace platform {

class Screen {
public:
    virtual ~Screen() = default;
    // Size of the primary screen in pixels.
    virtual QSize PrimarySize() const = 0;
    // Where on the desktop the screen lies that holds point, or the screen nearest to it when
    // none does.
    virtual QRect ScreenGeometryAt(QPoint point) const = 0;
    // Where each monitor lies on the desktop.
    virtual std::vector<QRect> MonitorGeometries() const = 0;
    // Runs onChange, from the event loop, after monitors have been added, removed or resized. A
    // later call replaces the handler; an empty one ends the watch.
    virtual void OnMonitorsChanged(std::function<void()> onChange) = 0;
};

// Where a window of size goes so that it is centred on a screen of screenSize.
inline QPoint CentredOn(QSize screenSize, QSize size)
{
    return {(screenSize.width() - size.width()) / 2, (screenSize.height() - size.height()) / 2};
}

} // namespace platform
