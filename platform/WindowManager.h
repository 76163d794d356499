#pragma once

#include <QMargins>

#include <functional>
#include <optional>

class QWidget;

namespace platform {

// What the desktop does with top-level windows beyond showing them.
class WindowManager {
public:
    virtual ~WindowManager() = default;
    // Whether something iconifies a window that asks to be minimised. Without a window manager
    // nothing does, and the window simply stays where it is.
    virtual bool CanIconify() const = 0;
    // The widths of the frame (title bar and borders) that the window manager has put around the
    // top-level window, as it reports them: no margins without a window manager, nothing while
    // one runs but has not framed the window yet.
    virtual std::optional<QMargins> FrameExtents(QWidget& window) const = 0;
    // Runs onPress, from the event loop, whenever the user presses a mouse button on a window of
    // the program that a modal window blocks. Such presses reach no window otherwise. A later
    // call replaces the handler; an empty one ends the watch.
    virtual void OnBlockedPress(std::function<void()> onPress) = 0;
    // Puts the top-level window on every workspace, as panels and docks are. A window manager
    // forgets this when the window is withdrawn (hidden), so it is asked again before each
    // showing; a window it manages already moves at once.
    virtual void OnAllWorkspaces(QWidget& window) = 0;
};

} // namespace platform
