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
    // Whether something iconifies the window when it asks to be minimised. Without a window
    // manager nothing does, nor for a window the manager does not manage: it simply stays where it
    // is.
    virtual bool CanIconify(const QWidget& window) const = 0;
    // Whether the program learns where its windows are. A Wayland compositor keeps that to itself:
    // there a window's place reads as the corner of the screen, whatever it is.
    virtual bool KnowsPlaces() const = 0;
    // The widths of the frame (title bar and borders) that the window manager has put around the
    // top-level window, as it reports them: no margins without a window manager, nothing while
    // one runs but has not framed the window yet.
    virtual std::optional<QMargins> FrameExtents(QWidget& window) const = 0;
    // Runs onPress, from the event loop, whenever the user presses a mouse button on a window of
    // the program that a modal window blocks. Such presses reach no window otherwise. A later
    // call replaces the handler; an empty one ends the watch.
    virtual void OnBlockedPress(std::function<void()> onPress) = 0;
    // Readies a top-level window that has not been shown yet to stay where the program puts it,
    // above all other windows and on every workspace, as panels and docks do. A compositor that
    // arranges the windows of X11 programs by itself and honours none of the hints for this
    // (sway and the other wlroots compositors) leaves alone only a window it does not manage,
    // which nothing iconifies; elsewhere the window asks for this by the usual hints
    // (OnAllWorkspaces).
    virtual void KeepAboveAll(QWidget& window) = 0;
    // Puts the top-level window on every workspace. A window manager forgets this when the window
    // is withdrawn (hidden), so it is asked again before each showing; a window it manages already
    // comes to the workspace on view at once, whatever moved it meanwhile.
    virtual void OnAllWorkspaces(QWidget& window) = 0;
    // Readies a top-level window that has not been shown yet to float at its own size where the
    // compositor would tile it among the others; nothing where windows float anyway.
    virtual void FloatAtOwnSize(QWidget& window) = 0;
};

} // namespace platform
