#pragma once

namespace platform {

class Clock;
class Dialogs;
class IconSource;
class Printer;
class ProgramLocation;
class Screen;
class Session;
class Shell;
class WindowManager;

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
    Printer& printer;
    WindowManager& windowManager;
};

} // namespace platform
