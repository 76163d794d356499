#include "platform/desktop/MimeApps.h"

#include "platform/desktop/KeyFile.h"
#include "platform/files/FileContent.h"

#include <algorithm>
#include <map>
#include <set>
#include <span>

namespace platform {

namespace {

// The installed desktop files of the applications folders; each is read when first asked for.
class ApplicationIndex {
public:
    explicit ApplicationIndex(const std::vector<std::string>& folders)
        : files_(InstalledDesktopFiles(folders))
    {
    }

    // The installed application of this id: a desktop file of Type=Application with a command,
    // not marked as deleted.
    const DesktopEntry* application(const std::string& id)
    {
        const auto path = pathOf(id);
        if (!path)
            return nullptr;
        auto [entry, added] = entries_.try_emplace(id);
        if (added)
            entry->second = DesktopEntry::Read(*path);
        const auto& application = entry->second;
        return application && application->isUsableApplication() ? &*application : nullptr;
    }

    // The desktop files of one applications folder, by id.
    const DesktopFileIds& filesIn(std::size_t folder) const { return files_[folder]; }

private:
    const std::string* pathOf(const std::string& id) const
    {
        for (const DesktopFileIds& files : files_)
            if (const auto file = files.find(id); file != files.end())
                return &file->second;
        return nullptr;
    }

    std::vector<DesktopFileIds> files_;
    std::map<std::string, std::optional<DesktopEntry>> entries_;
};

// One place that may hold mimeapps.list files, and the applications directory there.
struct Level {
    std::vector<KeyFile> lists; // the desktop-specific ones first, then the mimeapps.list itself
    std::optional<std::size_t> applications;

    // Only the plain mimeapps.list may add and remove associations.
    const KeyFile& plainList() const { return lists.back(); }
};

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
    const auto applicationFolders = ApplicationFolders(directories);
    for (std::size_t folder = 0; folder < applicationFolders.size(); ++folder)
        add(applicationFolders[folder], folder);
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

// Whether the application lists the type under one of these names.
bool ListsType(const DesktopEntry& application, std::span<const std::string> names)
{
    const auto types = SplitList(application.value("MimeType"));
    return std::find_first_of(types.begin(), types.end(), names.begin(), names.end()) != types.end();
}

// The applications associated with one type, the most preferred first: at each level, most
// important first, its added associations, then the installed applications that list the type
// by its own name, then those that list it only by an alias. A removal takes an application away
// from the type in its own level and every less important one.
std::vector<std::string> AssociatedApplications(const MimeTypeNames& names, const std::vector<Level>& levels,
                                                ApplicationIndex& index)
{
    std::set<std::string> removed;
    std::vector<std::string> associated;
    const auto associate = [&](const std::string& id) {
        if (!removed.contains(id) && index.application(id)
            && std::find(associated.begin(), associated.end(), id) == associated.end())
            associated.push_back(id);
    };
    for (const Level& level : levels) {
        for (std::string& id : Listed(level.plainList(), "Removed Associations", names))
            removed.insert(std::move(id));
        for (const std::string& id : Listed(level.plainList(), "Added Associations", names))
            associate(id);
        if (!level.applications)
            continue;
        const std::span<const std::string> all(names);
        for (const auto listed : {all.first(1), all.subspan(1)})
            for (const auto& [id, path] : index.filesIn(*level.applications))
                if (const DesktopEntry* application = index.application(id);
                    application && ListsType(*application, listed))
                    associate(id);
    }
    return associated;
}

// The ids the lists remove from the type under any of its names, at any level.
std::set<std::string> RemovedFrom(const MimeTypeNames& names, const std::vector<Level>& levels)
{
    std::set<std::string> removed;
    for (const Level& level : levels)
        for (std::string& id : Listed(level.plainList(), "Removed Associations", names))
            removed.insert(std::move(id));
    return removed;
}

// The default application of one type (types.front()), else its most preferred associated
// application. A default counts only when it is associated with the type once every removal
// has been applied; an application associated with a parent type (the rest of types) is
// associated with its subtypes as well, unless the subtype's own lists remove it.
std::optional<DesktopEntry> ApplicationFor(std::span<const MimeTypeNames> types, const std::vector<Level>& levels,
                                           ApplicationIndex& index)
{
    const MimeTypeNames& names = types.front();
    const std::vector<std::string> associated = AssociatedApplications(names, levels, index);
    std::set<std::string> viaParents;
    const std::set<std::string> removed = RemovedFrom(names, levels);
    for (const MimeTypeNames& parent : types.subspan(1))
        for (std::string& id : AssociatedApplications(parent, levels, index))
            if (!removed.contains(id))
                viaParents.insert(std::move(id));
    const auto isAssociated = [&](const std::string& id) {
        return std::find(associated.begin(), associated.end(), id) != associated.end() || viaParents.contains(id);
    };
    for (const Level& level : levels)
        for (const KeyFile& list : level.lists)
            for (const std::string& id : Listed(list, "Default Applications", names))
                if (isAssociated(id))
                    return *index.application(id);
    if (associated.empty())
        return std::nullopt;
    return *index.application(associated.front());
}

} // namespace

std::optional<DesktopEntry> DefaultApplication(const std::vector<MimeTypeNames>& types,
                                               const XdgDirectories& directories)
{
    const auto levels = Levels(directories);
    ApplicationIndex index(ApplicationFolders(directories));
    const std::span<const MimeTypeNames> all(types);
    for (std::size_t i = 0; i < all.size(); ++i)
        if (auto application = ApplicationFor(all.subspan(i), levels, index))
            return application;
    return std::nullopt;
}

} // namespace platform
