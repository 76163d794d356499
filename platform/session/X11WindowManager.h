#pragma once

#include "platform/WindowManager.h"

namespace platform {

// Asks the X server whether a window manager runs: one that follows the freedesktop.org window
// manager hints names itself on the root window. Off X11 the desktop is taken to iconify.
class X11WindowManager final : public WindowManager {
public:
    bool CanIconify() const override;
};

} // namespace platform
