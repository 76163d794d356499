#include "platform/icons/ApplicationIcons.h"

#include "platform/desktop/DesktopEntry.h"
#include "platform/files/Paths.h"
#include "platform/text/Ascii.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>

namespace platform {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> ApplicationFolders(const XdgDirectories& directories)
{
    std::vector<std::string> folders{directories.dataHome + "/applications"};
    for (const std::string& dir : directories.dataDirs)
        folders.push_back(dir + "/applications");
    return folders;
}

long long ModificationTime(const std::string& folder)
{
    std::error_code error;
    const auto time = fs::last_write_time(folder, error);
    return error ? -1 : time.time_since_epoch().count();
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return fs::equivalent(a, b, error);
}

// The file a program name stands for: the first executable of that name in the directories of
// searchPath; empty when there is none.
std::string FindOnPath(const std::string& name, const std::string& searchPath)
{
    for (const std::string& dir : Split(searchPath, ':')) {
        if (!dir.starts_with('/'))
            continue;
        const std::string candidate = dir + "/" + name;
        std::error_code error;
        if (fs::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

} // namespace

void ApplicationIcons::refresh(const XdgDirectories& directories)
{
    std::vector<std::pair<std::string, long long>> folders;
    for (const std::string& folder : ApplicationFolders(directories))
        folders.emplace_back(folder, ModificationTime(folder));
    if (folders == folders_)
        return;
    folders_ = std::move(folders);
    applications_.clear();

    // Desktop file ids: the path below the applications folder with '/' as '-'. An id in several
    // folders means the file of the first.
    std::map<std::string, bool> seen;
    for (const auto& [folder, time] : folders_) {
        std::vector<std::pair<std::string, std::string>> files; // id, path
        std::error_code error;
        fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
        for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            std::error_code ignored;
            if (it->path().extension() != ".desktop" || !it->is_regular_file(ignored))
                continue;
            std::string id = it->path().lexically_relative(folder).string();
            std::replace(id.begin(), id.end(), '/', '-');
            if (seen.emplace(id, true).second)
                files.emplace_back(std::move(id), it->path().string());
        }
        std::sort(files.begin(), files.end());
        for (const auto& [id, path] : files) {
            const auto entry = DesktopEntry::Read(path);
            if (!entry || !entry->isApplication() || entry->value("Hidden") == "true" || entry->value("Icon").empty())
                continue;
            const auto command = ExpandExec(*entry, "");
            if (command && !command->arguments.empty())
                applications_.push_back({command->arguments.front(), entry->value("Icon")});
        }
    }
}

std::string ApplicationIcons::IconOf(const std::string& program, const XdgDirectories& directories,
                                     const std::string& searchPath)
{
    refresh(directories);
    const std::string name = FileNamePart(program);
    std::optional<bool> nameFindsProgram; // looked up once, when an application needs it
    for (const Application& application : applications_) {
        if (application.command.starts_with('/')) {
            if (application.command == program || SameFile(application.command, program))
                return application.icon;
        } else if (application.command == name) {
            if (!nameFindsProgram)
                nameFindsProgram = SameFile(FindOnPath(name, searchPath), program);
            if (*nameFindsProgram)
                return application.icon;
        }
    }
    return {};
}

} // namespace platform
