#include "platform/desktop/TerminalPrograms.h"

#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/Spawn.h"
#include "platform/files/ChangeWatch.h"
#include "platform/text/Ascii.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <tuple>
#include <utility>

namespace platform {

namespace {

namespace fs = std::filesystem;

// The program the command of the desktop file runs, as the file writes it (a path, or a name to
// look for in PATH), when the file is an application that asks for a terminal; empty otherwise.
std::string TerminalCommand(const std::string& file)
{
    const auto entry = DesktopEntry::Read(file);
    if (!entry || !entry->isUsableApplication() || entry->value("Terminal") != "true")
        return {};
    const auto command = ExpandExec(*entry, "");
    return command && !command->arguments.empty() ? command->arguments.front() : std::string();
}

// Which folder is at a path, with its permissions: another answer, or none, when one was made,
// removed, replaced or opened to us.
using FolderIdentity = std::optional<std::tuple<dev_t, ino_t, mode_t>>;

FolderIdentity IdentityOf(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        return std::nullopt;
    return std::tuple(status.st_dev, status.st_ino, status.st_mode);
}

// The programs that installed application entries run in a terminal. The entries are read once;
// afterwards a watch on their folders (subfolders, search path folders and linked files
// included) tells which files to read again. So a start when nothing changed only asks the watch,
// and looks again at the folders it could not watch (those not there yet, most often).
class TerminalIndex {
public:
    const std::vector<std::string>& Programs(const std::vector<std::string>& folders, const std::string& searchPath)
    {
        if (!watch_ || folders != folders_ || searchPath != searchPath_ || UnwatchedFolderChanged()) {
            ReadAll(folders, searchPath);
            return programs_;
        }
        const auto changes = watch_->Take();
        if (!changes) {
            ReadAll(folders, searchPath);
            return programs_;
        }
        bool rescan = false;
        bool resolve = false;
        for (const ChangeWatch::Change& change : *changes) {
            const bool inSearchPath =
                std::find(searchFolders_.begin(), searchFolders_.end(), change.watched) != searchFolders_.end();
            if (inSearchPath && !change.name.empty()) {
                resolve = true; // a program came, went or changed: names may stand for other files now
            } else if (change.name.empty() && commands_.erase(change.watched)) {
                rescan = true; // the file a desktop file links to
            } else if (change.name.empty() || change.isFolder) {
                ReadAll(folders, searchPath); // a folder came, went or moved: ids may have changed
                return programs_;
            } else if (IsDesktopEntryFile(change.name)) {
                commands_.erase(change.watched + "/" + change.name);
                rescan = true;
            }
        }
        if (rescan)
            Rescan();
        else if (resolve)
            Resolve();
        return programs_;
    }

private:
    bool UnwatchedFolderChanged() const
    {
        return std::any_of(unwatched_.begin(), unwatched_.end(),
                           [](const auto& folder) { return IdentityOf(folder.first) != folder.second; });
    }

    // Reads every entry afresh, under a new watch.
    void ReadAll(const std::vector<std::string>& folders, const std::string& searchPath)
    {
        folders_ = folders;
        searchPath_ = searchPath;
        searchFolders_ = Split(searchPath, ':');
        std::erase_if(searchFolders_, [](const std::string& folder) { return !folder.starts_with('/'); });
        watch_ = std::make_unique<ChangeWatch>();
        unwatched_.clear();
        for (const auto* list : {&folders_, &searchFolders_}) {
            for (const std::string& folder : *list) {
                // Looked at before the watch is tried, so a folder made in between counts as a change.
                FolderIdentity identity = IdentityOf(folder);
                if (!watch_->Add(folder))
                    unwatched_.emplace_back(folder, std::move(identity));
            }
        }
        commands_.clear();
        Rescan();
    }

    // Lists the entries that count, those no earlier folder's entry of the same id hides, and
    // reads those not read since they last changed. Every folder is watched before it is listed,
    // and the file a linked entry names before it is read, so no later change goes unreported.
    void Rescan()
    {
        std::map<std::string, std::string> commands;
        const auto watchFolder = [this](const std::string& folder) { watch_->Add(folder); };
        for (const DesktopFileIds& files : InstalledDesktopFiles(folders_, watchFolder)) {
            for (const auto& [id, file] : files) {
                if (auto known = commands_.extract(file)) {
                    commands.insert(std::move(known));
                    continue;
                }
                std::error_code error;
                if (fs::is_symlink(file, error))
                    watch_->Add(file);
                commands.emplace(file, TerminalCommand(file));
            }
        }
        commands_ = std::move(commands);
        Resolve();
    }

    // Finds the files the commands run, names through the search path.
    void Resolve()
    {
        programs_.clear();
        for (const auto& [file, command] : commands_) {
            if (command.empty())
                continue;
            std::string program = command.find('/') != std::string::npos ? command : FindProgram(command, searchPath_);
            if (!program.empty())
                programs_.push_back(std::move(program));
        }
        std::sort(programs_.begin(), programs_.end());
        programs_.erase(std::unique(programs_.begin(), programs_.end()), programs_.end());
    }

    std::vector<std::string> folders_; // the applications folders, most important first
    std::string searchPath_;
    std::vector<std::string> searchFolders_;
    std::vector<std::pair<std::string, FolderIdentity>> unwatched_; // and what they were when last read
    std::unique_ptr<ChangeWatch> watch_;
    std::map<std::string, std::string> commands_; // the TerminalCommand of each desktop file that counts
    std::vector<std::string> programs_;
};

} // namespace

bool IsTerminalProgram(const std::string& program, const XdgDirectories& directories)
{
    static TerminalIndex index;
    const char* path = std::getenv("PATH");
    const std::vector<std::string>& terminalPrograms =
        index.Programs(ApplicationFolders(directories), path ? path : "");
    struct stat file {};
    if (terminalPrograms.empty() || stat(program.c_str(), &file) != 0)
        return false;
    return std::any_of(terminalPrograms.begin(), terminalPrograms.end(), [&file](const std::string& terminalProgram) {
        struct stat terminalFile {};
        return stat(terminalProgram.c_str(), &terminalFile) == 0 && terminalFile.st_dev == file.st_dev
            && terminalFile.st_ino == file.st_ino;
    });
}

} // namespace platform
