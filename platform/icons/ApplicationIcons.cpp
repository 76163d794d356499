#include "platform/icons/ApplicationIcons.h"

#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/Spawn.h"
#include "platform/files/Paths.h"

#include <filesystem>

namespace platform {

namespace fs = std::filesystem;

namespace {

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

} // namespace

void ApplicationIcons::refresh(const XdgDirectories& directories)
{
    const std::vector<std::string> folders = ApplicationFolders(directories);
    std::vector<std::pair<std::string, long long>> stamped;
    for (const std::string& folder : folders)
        stamped.emplace_back(folder, ModificationTime(folder));
    if (stamped == folders_)
        return;
    folders_ = std::move(stamped);
    applications_.clear();

    for (const DesktopFileIds& files : InstalledDesktopFiles(folders))
        for (const auto& [id, path] : files) {
            const auto entry = DesktopEntry::Read(path);
            if (!entry || !entry->isUsableApplication() || entry->value("Icon").empty())
                continue;
            const auto command = ExpandExec(*entry, "");
            if (command && !command->arguments.empty())
                applications_.push_back({command->arguments.front(), entry->value("Icon")});
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
                nameFindsProgram = SameFile(FindProgram(name, searchPath), program);
            if (*nameFindsProgram)
                return application.icon;
        }
    }
    return {};
}

} // namespace platform
