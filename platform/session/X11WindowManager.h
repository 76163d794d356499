#pragma once

#include "platform/WindowManager.h"

#include <memory>

namespace platform {

// Asks the X server whether a window manager runs, which one, and what frames it gives windows:
// one that follows the freedesktop.org window manager hints names itself on the root window and
// notes each frame on its window. Off X11 the desktop is taken to iconify, and neither frames nor
// places are known.
class X11WindowManager final : public WindowManager {
public:
    X11WindowManager();
    ~X11WindowManager() override;
    bool CanIconify(const QWidget& window) const override;
    bool KnowsPlaces() const override;
    std::optional<QMargins> FrameExtents(QWidget& window) const override;
    void OnBlockedPress(std::function<void()> onPress) override;
    void KeepAboveAll(QWidget& window) override;
    void OnAllWorkspaces(QWidget& window) override;
    void FloatAtOwnSize(QWidget& window) override;

private:
    class PressFilter;
    std::unique_ptr<PressFilter> pressFilter_;
};

} // namespace platform
