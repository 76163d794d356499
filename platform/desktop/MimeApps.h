#pragma once

#include "platform/desktop/DesktopEntry.h"

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Where the desktop keeps settings and data: XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_DATA_HOME
// and XDG_DATA_DIRS, or their defaults, most important first; and the names of the running
// desktop from XDG_CURRENT_DESKTOP, in lower case.
struct XdgDirectories {
    std::string configHome;
    std::vector<std::string> configDirs;
    std::string dataHome;
    std::vector<std::string> dataDirs;
    std::vector<std::string> desktops;

    // Read from the environment as it is now.
    static XdgDirectories FromEnvironment();
};

// A MIME type under each of its names: its own and its aliases.
using MimeTypeNames = std::vector<std::string>;

// The application that opens documents of a type, given from the type itself to its least
// specific ancestor. For each type in turn: its default application from the mimeapps.list
// files, else the most preferred application associated with it through [Added Associations]
// or the MimeType key of an installed desktop file. [Removed Associations] take an application
// away from the type in their own place and every less important one. Nothing when no
// application is associated with any of the types.
std::optional<DesktopEntry> DefaultApplication(const std::vector<MimeTypeNames>& types,
                                               const XdgDirectories& directories);

} // namespace platform
