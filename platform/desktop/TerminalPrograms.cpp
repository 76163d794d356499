#include "platform/desktop/TerminalPrograms.h"

#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/Spawn.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>

namespace platform {

namespace {

namespace fs = std::filesystem;

// The file an entry's command runs; empty when it has none.
std::string ExecProgram(const DesktopEntry& entry, const std::string& searchPath)
{
    const auto command = ExpandExec(entry, "");
    if (!command || command->arguments.empty())
        return {};
    const std::string& program = command->arguments.front();
    return program.find('/') != std::string::npos ? program : FindProgram(program, searchPath);
}

// What the index was read from: the search path and each applications folder's last change
// (a desktop file added, removed or replaced), so that it is read again only when one changed.
using Sources = std::pair<std::string, std::vector<std::pair<std::string, fs::file_time_type>>>;

Sources SourcesNow(const std::vector<std::string>& folders)
{
    const char* path = std::getenv("PATH");
    Sources sources{path ? path : "", {}};
    for (const std::string& folder : folders) {
        std::error_code error;
        sources.second.emplace_back(folder, fs::last_write_time(folder, error));
    }
    return sources;
}

// The programs that installed application entries run in a terminal.
std::vector<std::string> ReadTerminalPrograms(const std::vector<std::string>& folders, const std::string& searchPath)
{
    std::vector<std::string> programs;
    for (const DesktopFileIds& folder : InstalledDesktopFiles(folders)) {
        for (const auto& [id, file] : folder) {
            const auto entry = DesktopEntry::Read(file);
            if (entry && entry->isUsableApplication() && entry->value("Terminal") == "true")
                if (std::string program = ExecProgram(*entry, searchPath); !program.empty())
                    programs.push_back(std::move(program));
        }
    }
    return programs;
}

} // namespace

bool IsTerminalProgram(const std::string& program, const XdgDirectories& directories)
{
    static std::optional<Sources> readFrom;
    static std::vector<std::string> terminalPrograms;
    const std::vector<std::string> folders = ApplicationFolders(directories);
    if (Sources now = SourcesNow(folders); now != readFrom) {
        terminalPrograms = ReadTerminalPrograms(folders, now.first);
        readFrom = std::move(now);
    }
    for (const std::string& terminalProgram : terminalPrograms) {
        std::error_code error;
        if (fs::equivalent(program, terminalProgram, error) && !error)
            return true;
    }
    return false;
}

} // namespace platform
