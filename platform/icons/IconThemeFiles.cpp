#include "platform/icons/IconThemeFiles.h"

#include "platform/desktop/KeyFile.h"
#include "platform/files/FileContent.h"
#include "platform/files/Paths.h"
#include "platform/text/Ascii.h"

#include <algorithm>
#include <filesystem>

namespace platform {

namespace {

constexpr int Wanted = 32;

int Number(const KeyGroup& group, const char* key, int fallback)
{
    const auto found = group.find(key);
    if (found == group.end())
        return fallback;
    try {
        return std::stoi(found->second);
    } catch (const std::exception&) {
        return fallback;
    }
}

} // namespace

int IconThemeFiles::Folder::distance() const
{
    if (type == "Fixed")
        return std::abs(size - Wanted);
    if (type == "Scalable")
        return Wanted < minSize ? minSize - Wanted : Wanted > maxSize ? Wanted - maxSize : 0;
    return Wanted < size - threshold ? size - threshold - Wanted
        : Wanted > size + threshold  ? Wanted - size - threshold
                                     : 0;
}

IconThemeFiles::IconThemeFiles(std::vector<std::string> searchPaths)
    : searchPaths_(std::move(searchPaths))
{
}

const IconThemeFiles::Theme& IconThemeFiles::Load(const std::string& name)
{
    if (const auto known = themes_.find(name); known != themes_.end())
        return known->second;
    Theme& theme = themes_[name];
    for (const std::string& path : searchPaths_) {
        const std::string root = path + "/" + name;
        std::error_code error;
        if (!std::filesystem::is_directory(root, error))
            continue;
        theme.roots.push_back(root);
        if (!theme.folders.empty())
            continue;
        const auto index = ReadFileContent(root + "/index.theme");
        if (!index)
            continue;
        const KeyFile file = ParseKeyFile(*index);
        theme.inherits = Split(KeyValue(file, "Icon Theme", "Inherits"), ',');
        for (const std::string& folder : Split(KeyValue(file, "Icon Theme", "Directories"), ',')) {
            const auto group = file.find(folder);
            if (group == file.end() || Number(group->second, "Scale", 1) != 1)
                continue;
            Folder entry;
            entry.name = folder;
            entry.size = Number(group->second, "Size", 0);
            entry.minSize = Number(group->second, "MinSize", entry.size);
            entry.maxSize = Number(group->second, "MaxSize", entry.size);
            entry.threshold = Number(group->second, "Threshold", 2);
            const auto type = group->second.find("Type");
            entry.type = type == group->second.end() ? "Threshold" : type->second;
            theme.folders.push_back(entry);
        }
    }
    // Folders that fit come first, then by growing distance.
    std::stable_sort(theme.folders.begin(), theme.folders.end(),
                     [](const Folder& a, const Folder& b) { return a.distance() < b.distance(); });
    return theme;
}

bool IconThemeFiles::FolderExists(const std::string& folder)
{
    const auto known = folders_.find(folder);
    if (known != folders_.end())
        return known->second;
    std::error_code error;
    return folders_[folder] = std::filesystem::is_directory(folder, error);
}

std::string IconThemeFiles::FileIn(const std::string& folder, const std::string& icon)
{
    if (!FolderExists(folder))
        return {};
    for (const std::string_view extension : IconFileExtensions) {
        std::string file = folder + "/" + icon;
        file += extension;
        if (FileExists(file))
            return file;
    }
    return {};
}

std::string IconThemeFiles::FindInTheme(const Theme& theme, const std::string& icon)
{
    for (const Folder& folder : theme.folders)
        for (const std::string& root : theme.roots)
            if (std::string file = FileIn(root + "/" + folder.name, icon); !file.empty())
                return file;
    return {};
}

std::string IconThemeFiles::Find(const std::string& theme, const std::string& icon)
{
    if (icon.empty() || icon.find('/') != std::string::npos)
        return {};
    // The theme, then the themes it inherits, depth first, then hicolor. A theme's index is
    // read only when the search gets to it: hicolor's lists hundreds of folders.
    std::vector<std::string> visited;
    std::vector<std::string> pending{theme, "hicolor"};
    while (!pending.empty()) {
        const std::string name = pending.front();
        pending.erase(pending.begin());
        if (name.empty() || std::find(visited.begin(), visited.end(), name) != visited.end())
            continue;
        visited.push_back(name);
        const Theme& loaded = Load(name);
        if (std::string file = FindInTheme(loaded, icon); !file.empty())
            return file;
        pending.insert(pending.begin(), loaded.inherits.begin(), loaded.inherits.end());
    }
    for (const std::string& path : searchPaths_)
        if (std::string file = FileIn(path, icon); !file.empty())
            return file;
    return {};
}

} // namespace platform
