#pragma once

#include <functional>
#include <string>

// Reads an environment variable; nothing (nullptr) when it is unset.
using EnvironmentReader = std::function<const char*(const char*)>;

// The Qt platform plugin the strip is to run on, for QT_QPA_PLATFORM; empty to leave Qt's own
// choice. A borderless window that stays on top and places itself cannot do so under a Wayland
// compositor, so wherever Qt would run on Wayland and an X server is at hand (XWayland) the strip
// runs on X, also when the environment asks Qt for Wayland; a platform other than Wayland that
// the user chose stays.
std::string DisplayPlatformFor(const EnvironmentReader& environment);

// Whether the desktop session is a Wayland one, with or without an X server beside it.
bool IsWaylandSession(const EnvironmentReader& environment);

// What the user is told on standard error when the strip starts in a session where it cannot
// behave as it should; empty when all is well.
std::string WaylandNotice(const EnvironmentReader& environment);
// What the user is told, on standard error and in a message box, when neither the program
// directory nor the user's own folder for the program's files can be written (once the data
// folder is chosen, see ChooseDataDirectory); empty when one of them can.
std::string UnwritableDirectoryNotice(const std::string& programDirectory, const std::string& userDirectory);
