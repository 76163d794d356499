#pragma once

#include "platform/desktop/XdgDirectories.h"

#include <string>
#include <utility>
#include <vector>

namespace platform {

// The icons of the installed applications, by the program each one starts.
class ApplicationIcons {
public:
    // The Icon of the first installed application (by desktop file id, the XDG data
    // directories' applications folders in order) whose Exec command starts program, an
    // absolute path: the command's first argument names that file by path, or by a name that
    // searchPath (a ':'-separated list of directories, like PATH) finds as that file. Empty when
    // no application with an icon does. The desktop files are read again only when a file has
    // been added directly to or removed directly from an applications folder since the last call.
    std::string IconOf(const std::string& program, const XdgDirectories& directories, const std::string& searchPath);

private:
    struct Application {
        std::string command; // the first argument of Exec
        std::string icon;
    };

    void refresh(const XdgDirectories& directories);

    std::vector<std::pair<std::string, long long>> folders_; // each folder with its modification time
    std::vector<Application> applications_;
};

} // namespace platform
