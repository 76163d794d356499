#pragma once

#include <QSize>

namespace platform {

class Screen {
public:
    virtual ~Screen() = default;
    // Size of the primary screen in pixels.
    virtual QSize primarySize() const = 0;
};

} // namespace platform
