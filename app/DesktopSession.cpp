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

namespace {

// Whether Qt is to run on the Wayland compositor itself: asked for by name (the first of the
// platforms the variable lists, wayland-egl and the like among them), or left to Qt in a Wayland
// session.
bool RunsOnWayland(const EnvironmentReader& environment)
{
    if (!IsSet(environment, "QT_QPA_PLATFORM"))
        return IsWaylandSession(environment);
    return std::string_view(environment("QT_QPA_PLATFORM")).starts_with("wayland");
}

} // namespace

std::string DisplayPlatformFor(const EnvironmentReader& environment)
{
    return RunsOnWayland(environment) && IsSet(environment, "DISPLAY") ? "xcb" : "";
}

std::string WaylandNotice(const EnvironmentReader& environment)
{
    if (!RunsOnWayland(environment) || IsSet(environment, "DISPLAY"))
        return {};
    return "Stackle: this Wayland session has no X server (XWayland), so the strip can neither place itself "
           "nor stay on top of other windows, and its place is not stored.";
}

std::string UnwritableDirectoryNotice(const std::string& programDirectory, const std::string& userDirectory)
{
    if (access(programDirectory.c_str(), W_OK) == 0 || access(userDirectory.c_str(), W_OK) == 0)
        return {};
    return "Stackle: neither its folder " + programDirectory + " nor " + userDirectory
        + " can be written, so nothing you set will be stored.";
}
