#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/ProgramLocation.h"
#include "platform/Screen.h"

namespace platform {

// Everything a window reaches of the outside world. Windows receive it at construction; the
// program hands them the real one (LinuxPlatform), tests hand them doubles.
struct Platform {
    ProgramLocation& location;
    Screen& screen;
    Clock& clock;
    Dialogs& dialogs;
};

// The real outside world: this machine's program file, screen, clock and dialogs.
class LinuxPlatform {
public:
    Platform platform() { return {location_, screen_, clock_, dialogs_}; }

private:
    RunningProgramLocation location_;
    PrimaryScreen screen_;
    SystemClock clock_;
    QtDialogs dialogs_;
};

} // namespace platform
