#pragma once

namespace platform {

// What the desktop does with top-level windows beyond showing them.
class WindowManager {
public:
    virtual ~WindowManager() = default;
    // Whether something iconifies a window that asks to be minimised. Without a window manager
    // nothing does, and the window simply stays where it is.
    virtual bool CanIconify() const = 0;
};

} // namespace platform
