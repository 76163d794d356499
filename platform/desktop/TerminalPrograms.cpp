#include "platform/desktop/TerminalPrograms.h"

#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/Spawn.h"

#include <cstdlib>
#include <filesystem>

namespace platform {

namespace {

// The file an entry's command runs; empty when it has none.
std::string ExecProgram(const DesktopEntry& entry)
{
    const auto command = ExpandExec(entry, "");
    if (!command || command->arguments.empty())
        return {};
    const std::string& program = command->arguments.front();
    if (program.find('/') != std::string::npos)
        return program;
    const char* path = std::getenv("PATH");
    return FindProgram(program, path ? path : "");
}

bool SameFile(const std::string& one, const std::string& other)
{
    std::error_code error;
    return !other.empty() && std::filesystem::equivalent(one, other, error) && !error;
}

} // namespace

bool IsTerminalProgram(const std::string& program, const XdgDirectories& directories)
{
    for (const DesktopFileIds& folder : InstalledDesktopFiles(ApplicationFolders(directories))) {
        for (const auto& [id, file] : folder) {
            const auto entry = DesktopEntry::Read(file);
            if (entry && entry->isUsableApplication() && entry->value("Terminal") == "true"
                && SameFile(program, ExecProgram(*entry)))
                return true;
        }
    }
    return false;
}

} // namespace platform
