#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/IconSource.h"
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
    IconSource& icons;
};

} // namespace platform
