#pragma once

#include <functional>
#include <map>
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

// The user's home directory: HOME, or else the user database's entry.
std::string HomeDirectory();

// The folders of installed desktop files: the "applications" folder of each data directory,
// most important first.
std::vector<std::string> ApplicationFolders(const XdgDirectories& directories);

// Desktop files by desktop file id, sorted: the id is the path below the applications folder
// with '/' replaced by '-'.
using DesktopFileIds = std::map<std::string, std::string>;

// The desktop files in each of the folders and their subfolders. An id found in several folders
// names the file of the first one; the others leave it out. entering, when given, is called with
// each folder and subfolder before its entries are listed.
std::vector<DesktopFileIds> InstalledDesktopFiles(const std::vector<std::string>& folders,
                                                  const std::function<void(const std::string&)>& entering = {});

} // namespace platform
