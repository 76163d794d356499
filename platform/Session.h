#pragma once

namespace platform {

// What the program shows of itself as a whole: its cursor and its main window.
class Session {
public:
    virtual ~Session() = default;
    // The hourglass over every window of the program while busy, the default cursor otherwise.
    virtual void SetBusyCursor(bool busy) = 0;
    // Hides the main window, or shows it again in its normal state.
    virtual void ShowMainWindow(bool visible) = 0;
};

} // namespace platform
