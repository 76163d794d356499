#pragma once

#include <functional>
#include <string>

// Reads an environment variable; nothing (nullptr) when it is unset.
using EnvironmentReader = std::function<const char*(const char*)>;

// The Qt platform plugin the strip is to run on, for QT_QPA_PLATFORM; empty to leave Qt's own
// choice. A borderless window that stays on top and places itself cannot do so under a Wayland
// compositor, so in a Wayland session with an X server at hand (XWayland) the strip runs on X,
// unless the user chose a platform.
std::string DisplayPlatformFor(const EnvironmentReader& environment);

// Whether the desktop session is a Wayland one, with or without an X server beside it.
bool IsWaylandSession(const EnvironmentReader& environment);

// What the user is told on standard error when the strip starts in a session where it cannot
// behave as it should, or in a program directory it cannot write; empty when all is well.
std::string WaylandNotice(const EnvironmentReader& environment);
std::string UnwritableDirectoryNotice(const std::string& programDirectory);
