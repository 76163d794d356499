#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace platform {

class Screen {
public:
    virtual ~Screen() = default;
    // Size of the primary screen in pixels.
    virtual QSize PrimarySize() const = 0;
    // Where on the desktop the screen lies that holds point, or the screen nearest to it when
    // none does.
    virtual QRect ScreenGeometryAt(QPoint point) const = 0;
};

// Where a window of size goes so that it is centred on a screen of screenSize.
inline QPoint CentredOn(QSize screenSize, QSize size)
{
    return {(screenSize.width() - size.width()) / 2, (screenSize.height() - size.height()) / 2};
}

} // namespace platform
