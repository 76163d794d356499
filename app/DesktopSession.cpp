#include "app/DesktopSession.h"

#include <unistd.h>

#include <string_view>

namespace {

bool IsSet(const EnvironmentReader& environment, const char* name)
{
    const char* value = environment(name);
    return value && *value;
}

} // namespace

bool IsWaylandSession(const EnvironmentReader& environment)
{
    const char* type = environment("XDG_SESSION_TYPE");
    return IsSet(environment, "WAYLAND_DISPLAY") || (type && std::string_view(type) == "wayland");
}

std::string DisplayPlatformFor(const EnvironmentReader& environment)
{
    if (IsSet(environment, "QT_QPA_PLATFORM"))
        return {};
    return IsWaylandSession(environment) && IsSet(environment, "DISPLAY") ? "xcb" : "";
}

std::string WaylandNotice(const EnvironmentReader& environment)
{
    if (IsSet(environment, "QT_QPA_PLATFORM") || !IsWaylandSession(environment) || IsSet(environment, "DISPLAY"))
        return {};
    return "Stackle: this Wayland session has no X server (XWayland), so the strip can neither place itself "
           "nor stay on top of other windows.";
}

std::string UnwritableDirectoryNotice(const std::string& programDirectory)
{
    if (access(programDirectory.c_str(), W_OK) == 0)
        return {};
    return "Stackle: " + programDirectory
        + " cannot be written, so nothing you set will be stored. "
          "Install Stackle where it can keep its files beside itself: make install (into "
          "~/.local/opt/stackle unless PREFIX says otherwise).";
}
