#pragma once

#include "platform/LinuxIcons.h"
#include "platform/LinuxShell.h"
#include "platform/Platform.h"

namespace platform {

// The real outside world: this machine's program file, screen, clock, dialogs, desktop,
// processes and icons.
class LinuxPlatform {
public:
    Platform platform() { return {location_, screen_, clock_, dialogs_, shell_, session_, icons_}; }
    // The window that starts which wait for their program hide meanwhile.
    void SetMainWindow(QWidget* window) { session_.SetMainWindow(window); }

private:
    RunningProgramLocation location_;
    PrimaryScreen screen_;
    SystemClock clock_;
    QtDialogs dialogs_;
    LinuxShell shell_;
    QtSession session_;
    LinuxIcons icons_;
};

} // namespace platform
