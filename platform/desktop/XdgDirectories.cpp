#include "platform/desktop/XdgDirectories.h"

#include "platform/text/Ascii.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace platform {

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The directory a variable names, unless it is unset or not absolute.
std::string BaseDirectory(const char* variable, const std::string& fallback)
{
    std::string value = Environment(variable);
    return value.starts_with('/') ? value : fallback;
}

// The absolute directories of a ':'-separated variable; fallback when it is unset or empty.
std::vector<std::string> BaseDirectories(const char* variable, std::vector<std::string> fallback)
{
    const std::string value = Environment(variable);
    if (value.empty())
        return fallback;
    std::vector<std::string> directories = Split(value, ':');
    std::erase_if(directories, [](const std::string& directory) { return !directory.starts_with('/'); });
    return directories;
}

} // namespace

std::string HomeDirectory()
{
    if (std::string home = Environment("HOME"); !home.empty())
        return home;
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

XdgDirectories XdgDirectories::FromEnvironment()
{
    const std::string home = HomeDirectory();
    return {
        BaseDirectory("XDG_CONFIG_HOME", home + "/.config"),
        BaseDirectories("XDG_CONFIG_DIRS", {"/etc/xdg"}),
        BaseDirectory("XDG_DATA_HOME", home + "/.local/share"),
        BaseDirectories("XDG_DATA_DIRS", {"/usr/local/share", "/usr/share"}),
        Split(AsciiLower(Environment("XDG_CURRENT_DESKTOP")), ':'),
    };
}

std::vector<std::string> ApplicationFolders(const XdgDirectories& directories)
{
    std::vector<std::string> folders{directories.dataHome + "/applications"};
    for (const std::string& dir : directories.dataDirs)
        folders.push_back(dir + "/applications");
    return folders;
}

std::vector<DesktopFileIds> InstalledDesktopFiles(const std::vector<std::string>& folders,
                                                  const std::function<void(const std::string&)>& entering)
{
    namespace fs = std::filesystem;
    std::vector<DesktopFileIds> files(folders.size());
    std::set<std::string> seen;
    for (std::size_t folder = 0; folder < folders.size(); ++folder) {
        if (entering)
            entering(folders[folder]);
        std::error_code error;
        fs::recursive_directory_iterator it(folders[folder], fs::directory_options::skip_permission_denied, error);
        for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            std::error_code ignored;
            // The iterator lists a subfolder's entries only when it next moves on.
            if (entering && it->is_directory(ignored) && !it->is_symlink(ignored))
                entering(it->path().string());
            if (it->path().extension() != ".desktop" || !it->is_regular_file(ignored))
                continue;
            std::string id = it->path().lexically_relative(folders[folder]).string();
            std::replace(id.begin(), id.end(), '/', '-');
            if (seen.insert(id).second)
                files[folder].emplace(std::move(id), it->path().string());
        }
    }
    return files;
}

} // namespace platform
