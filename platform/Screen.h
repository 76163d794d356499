#pragma once

#include <QPoint>
#include <QSize>

namespace platform {

class Screen {
public:
    virtual ~Screen() = default;
    // Size of the primary screen in pixels.
    virtual QSize PrimarySize() const = 0;
};

// Where a window of size goes so that it is centred on a screen of screenSize.
inline QPoint CentredOn(QSize screenSize, QSize size)
{
    return {(screenSize.width() - size.width()) / 2, (screenSize.height() - size.height()) / 2};
}

} // namespace platform
