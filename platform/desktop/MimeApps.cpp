#include "platform/desktop/MimeApps.h"

#include "platform/desktop/KeyFile.h"
#include "platform/files/FileContent.h"
#include "platform/text/Ascii.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

namespace platform {

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeDirectory()
{
    if (std::string home = Environment("HOME"); !home.empty())
        return home;
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "";
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

// The installed desktop files by desktop file id: the path below an applications directory with
// '/' replaced by '-'. An id present in several directories names the file of the first.
class ApplicationIndex {
public:
    explicit ApplicationIndex(const std::vector<std::string>& directories) : ids_(directories.size())
    {
        namespace fs = std::filesystem;
        for (std::size_t dir = 0; dir < directories.size(); ++dir) {
            std::error_code error;
            fs::recursive_directory_iterator it(directories[dir], fs::directory_options::skip_permission_denied, error);
            for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
                std::error_code ignored;
                if (it->path().extension() != ".desktop" || !it->is_regular_file(ignored))
                    continue;
                std::string id = it->path().lexically_relative(directories[dir]).string();
                std::replace(id.begin(), id.end(), '/', '-');
                if (paths_.emplace(id, it->path().string()).second)
                    ids_[dir].push_back(id);
            }
            std::sort(ids_[dir].begin(), ids_[dir].end());
        }
    }

    // The installed application of this id: a desktop file of Type=Application with a command,
    // not marked as deleted.
    const DesktopEntry* application(const std::string& id)
    {
        const auto path = paths_.find(id);
        if (path == paths_.end())
            return nullptr;
        auto [entry, added] = entries_.try_emplace(id);
        if (added)
            entry->second = DesktopEntry::Read(path->second);
        const auto& application = entry->second;
        const bool usable = application && application->isApplication() && !application->value("Exec").empty()
            && application->value("Hidden") != "true";
        return usable ? &*application : nullptr;
    }

    // The ids whose desktop files are in the directory of this index, sorted.
    const std::vector<std::string>& idsIn(std::size_t dir) const { return ids_[dir]; }

private:
    std::map<std::string, std::string> paths_;
    std::vector<std::vector<std::string>> ids_;
    std::map<std::string, std::optional<DesktopEntry>> entries_;
};

// One place that may hold mimeapps.list files, and the applications directory there.
struct Level {
    std::vector<KeyFile> lists; // the desktop-specific ones first, then the mimeapps.list itself
    std::optional<std::size_t> applications;

    // Only the plain mimeapps.list may add and remove associations.
    const KeyFile& plainList() const { return lists.back(); }
};

std::vector<std::string> ApplicationDirectories(const XdgDirectories& directories)
{
    std::vector<std::string> result{directories.dataHome + "/applications"};
    for (const std::string& dir : directories.dataDirs)
        result.push_back(dir + "/applications");
    return result;
}

// The places mimeapps.list files are looked for, most important first.
std::vector<Level> Levels(const XdgDirectories& directories)
{
    std::vector<Level> levels;
    const auto add = [&](const std::string& dir, std::optional<std::size_t> applications) {
        Level level{{}, applications};
        for (const std::string& desktop : directories.desktops)
            level.lists.push_back(ParseKeyFile(ReadFileContent(dir + "/" + desktop + "-mimeapps.list").value_or("")));
        level.lists.push_back(ParseKeyFile(ReadFileContent(dir + "/mimeapps.list").value_or("")));
        levels.push_back(std::move(level));
    };
    add(directories.configHome, std::nullopt);
    for (const std::string& dir : directories.configDirs)
        add(dir, std::nullopt);
    const auto applicationDirs = ApplicationDirectories(directories);
    for (std::size_t dir = 0; dir < applicationDirs.size(); ++dir)
        add(applicationDirs[dir], dir);
    return levels;
}

// The desktop file ids a group of the list gives for the type under any of its names.
std::vector<std::string> Listed(const KeyFile& list, const std::string& group, const MimeTypeNames& names)
{
    std::vector<std::string> ids;
    for (const std::string& name : names)
        for (std::string& id : SplitList(KeyValue(list, group, name)))
            ids.push_back(std::move(id));
    return ids;
}

bool ListsType(const DesktopEntry& application, const MimeTypeNames& names)
{
    const auto types = SplitList(application.value("MimeType"));
    return std::find_first_of(types.begin(), types.end(), names.begin(), names.end()) != types.end();
}

// The default application of one type, else its most preferred associated application. A
// removal applies to the lists of its own level and to those of less important ones.
std::optional<DesktopEntry> ApplicationFor(const MimeTypeNames& names, const std::vector<Level>& levels,
                                           ApplicationIndex& index)
{
    std::set<std::string> removed;
    const auto usable = [&](const std::string& id) { return removed.contains(id) ? nullptr : index.application(id); };
    const auto addRemovals = [&](const Level& level) {
        for (std::string& id : Listed(level.plainList(), "Removed Associations", names))
            removed.insert(std::move(id));
    };

    for (const Level& level : levels) {
        addRemovals(level);
        for (const KeyFile& list : level.lists)
            for (const std::string& id : Listed(list, "Default Applications", names))
                if (const DesktopEntry* application = usable(id))
                    return *application;
    }

    removed.clear();
    for (const Level& level : levels) {
        addRemovals(level);
        for (const std::string& id : Listed(level.plainList(), "Added Associations", names))
            if (const DesktopEntry* application = usable(id))
                return *application;
        if (!level.applications)
            continue;
        for (const std::string& id : index.idsIn(*level.applications))
            if (const DesktopEntry* application = usable(id); application && ListsType(*application, names))
                return *application;
    }
    return std::nullopt;
}

} // namespace

XdgDirectories XdgDirectories::FromEnvironment()
{
    const std::string home = HomeDirectory();
    XdgDirectories directories{
        BaseDirectory("XDG_CONFIG_HOME", home + "/.config"),
        BaseDirectories("XDG_CONFIG_DIRS", {"/etc/xdg"}),
        BaseDirectory("XDG_DATA_HOME", home + "/.local/share"),
        BaseDirectories("XDG_DATA_DIRS", {"/usr/local/share", "/usr/share"}),
        Split(AsciiLower(Environment("XDG_CURRENT_DESKTOP")), ':'),
    };
    return directories;
}

std::optional<DesktopEntry> DefaultApplication(const std::vector<MimeTypeNames>& types,
                                               const XdgDirectories& directories)
{
    const auto levels = Levels(directories);
    ApplicationIndex index(ApplicationDirectories(directories));
    for (const MimeTypeNames& names : types)
        if (auto application = ApplicationFor(names, levels, index))
            return application;
    return std::nullopt;
}

} // namespace platform
