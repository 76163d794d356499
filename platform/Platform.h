#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/LinuxShell.h"
#include "platform/ProgramLocation.h"
#include "platform/Screen.h"
#include "platform/Session.h"
#include "platform/Shell.h"

namespace platform {

// Everything a window reaches of the outside world. Windows receive it at construction; the
// program hands them the real one (LinuxPlatform), tests hand them doubles.
struct Platform {
    ProgramLocation& location;
    Screen& screen;
    Clock& clock;
    Dialogs& dialogs;
    Shell& shell;
    Session& session;
};

// The real outside world: this machine's program file, screen, clock, dialogs, desktop and
// processes.
class LinuxPlatform {
public:
    Platform platform() { return {location_, screen_, clock_, dialogs_, shell_, session_}; }
    // The window that starts which wait for their program hide meanwhile.
    void SetMainWindow(QWidget* window) { session_.SetMainWindow(window); }

private:
    RunningProgramLocation location_;
    PrimaryScreen screen_;
    SystemClock clock_;
    QtDialogs dialogs_;
    LinuxShell shell_;
    QtSession session_;
};

} // namespace platform
