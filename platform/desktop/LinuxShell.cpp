#include "platform/desktop/LinuxShell.h"

#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/MimeApps.h"
#include "platform/desktop/Spawn.h"
#include "platform/desktop/TerminalPrograms.h"
#include "platform/desktop/XdgDirectories.h"
#include "platform/files/FileContent.h"
#include "platform/files/FileType.h"
#include "platform/files/Paths.h"

#include <QMimeDatabase>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace platform {

namespace {

constexpr int Started = 42;
constexpr int OtherFailure = 1;
constexpr int FileMissing = 2;
constexpr int DirectoryMissing = 3;
constexpr int AccessDenied = 5;
constexpr int OutOfMemory = 8;
constexpr int NotRunnable = 11;
constexpr int NoApplication = 31;

constexpr int Waited = 33;
constexpr int NotStarted = -1;

int FailureCode(int error)
{
    switch (error) {
    case ENOENT: return FileMissing;
    case ENOTDIR: return DirectoryMissing;
    case EACCES:
    case EPERM: return AccessDenied;
    case ENOMEM: return OutOfMemory;
    case ENOEXEC:
    case ELIBBAD:
    case EINVAL: return NotRunnable;
    default: return OtherFailure;
    }
}

// The path made absolute against our working directory, so that a child starting in another
// directory still finds it.
std::string Absolute(const std::string& path)
{
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

// The type and its ancestors, the most specific first, each under all its names.
std::vector<MimeTypeNames> Lineage(const QMimeType& type)
{
    std::vector<MimeTypeNames> lineage;
    if (!type.isValid())
        return lineage;
    const QMimeDatabase database;
    for (const QString& name : QStringList{type.name()} + type.allAncestors()) {
        MimeTypeNames names{name.toStdString()};
        for (const QString& alias : database.mimeTypeForName(name).aliases())
            names.push_back(alias.toStdString());
        lineage.push_back(std::move(names));
    }
    return lineage;
}

// Starts a program that runs on its own; the reaper collects it when it ends.
int Start(const std::vector<std::string>& arguments, const std::string& directory)
{
    const Spawned child = Spawn(arguments, directory, true);
    if (child.error)
        return FailureCode(child.error);
    CollectWhenEnded(child.pid);
    return Started;
}

// The command that runs arguments in the desktop's terminal: Debian's choice of terminal, else
// the first of a few well-known ones; nothing when there is none.
std::optional<std::vector<std::string>> InTerminal(const std::vector<std::string>& arguments)
{
    const char* path = std::getenv("PATH");
    const struct {
        const char* program;
        const char* execute; // the option after which the command follows
    } terminals[] = {{"x-terminal-emulator", "-e"},
                     {"gnome-terminal", "--"},
                     {"konsole", "-e"},
                     {"xfce4-terminal", "-x"},
                     {"xterm", "-e"}};
    for (const auto& terminal : terminals) {
        const std::string program = FindProgram(terminal.program, path ? path : "");
        if (program.empty())
            continue;
        std::vector<std::string> command{program, terminal.execute};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return command;
    }
    return std::nullopt;
}

// Runs an application entry's command with file for its file field codes, in the entry's own
// working directory or else in directory, and in a terminal when the entry asks for one. A
// non-empty file goes at the end when the command has no place for it.
int Launch(const DesktopEntry& entry, const std::string& file, const std::string& directory)
{
    auto command = ExpandExec(entry, file);
    if (!command)
        return NotRunnable;
    if (!file.empty() && !command->takesFile)
        command->arguments.push_back(file);
    if (entry.value("Terminal") == "true") {
        auto inTerminal = InTerminal(command->arguments);
        if (!inTerminal)
            return NotRunnable;
        command->arguments = std::move(*inTerminal);
    }
    const std::string ownDirectory = entry.value("Path");
    if (!ownDirectory.empty() && !IsDirectory(ownDirectory))
        return DirectoryMissing;
    return Start(command->arguments, ownDirectory.empty() ? directory : ownDirectory);
}

// Starts a program file with the parameter text as its one argument; a terminal program, one
// that an installed application entry runs in a terminal, runs in the desktop's terminal, or
// not at all when there is none.
int StartProgram(const std::string& program, const std::string& parameters, const std::string& directory)
{
    auto command = parameters.empty() ? std::vector{program} : std::vector{program, parameters};
    if (IsTerminalProgram(program, XdgDirectories::FromEnvironment())) {
        auto inTerminal = InTerminal(command);
        if (!inTerminal)
            return NotRunnable;
        command = std::move(*inTerminal);
    }
    return Start(command, directory);
}

// Whether a launcher file may run its command: the desktop's installed applications may, and
// elsewhere, as in file managers, only one its owner made executable; any other opens as a
// document.
bool MayRun(const std::string& launcher)
{
    if (IsExecutableFile(launcher))
        return true;
    for (const std::string& folder : ApplicationFolders(XdgDirectories::FromEnvironment()))
        if (launcher.starts_with(folder + "/"))
            return true;
    return false;
}

int OpenWithApplication(const std::vector<MimeTypeNames>& types, const std::string& path, const std::string& directory)
{
    const auto application = DefaultApplication(types, XdgDirectories::FromEnvironment());
    return application ? Launch(*application, path, directory) : NoApplication;
}

// The program file of the process in /proc/<pid>: its executable, else its first argument,
// else its command name; empty when the process is gone.
std::string ProgramFile(const std::filesystem::path& process)
{
    std::error_code error;
    std::string executable = std::filesystem::read_symlink(process / "exe", error).string();
    if (!error && !executable.empty()) {
        constexpr std::string_view deleted = " (deleted)";
        if (executable.ends_with(deleted))
            executable.resize(executable.size() - deleted.size());
        return executable;
    }
    const std::string commandLine = ReadFileContent((process / "cmdline").string()).value_or("");
    if (const std::string first = commandLine.substr(0, commandLine.find('\0')); !first.empty())
        return first;
    std::string name = ReadFileContent((process / "comm").string()).value_or("");
    if (name.ends_with('\n'))
        name.pop_back();
    return name;
}

} // namespace

int LinuxShell::ShellStart(const std::string& file, const std::string& parameters, const std::string& directory,
                           int /*showValue*/)
{
    struct stat status;
    if (file.empty() || stat(file.c_str(), &status) != 0)
        return !file.empty() && errno == EACCES ? AccessDenied : FileMissing;
    if (!directory.empty() && !IsDirectory(directory))
        return DirectoryMissing;
    const std::string path = Absolute(file);
    if (S_ISDIR(status.st_mode))
        return OpenWithApplication({{"inode/directory"}}, path, directory);
    if (IsDesktopEntryFile(path) && MayRun(path))
        if (const auto launcher = DesktopEntry::Read(path); launcher && launcher->isApplication())
            return Launch(*launcher, parameters, directory);
    if (S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0)
        return StartProgram(path, parameters, directory);
    return OpenWithApplication(Lineage(FileType(path)), path, directory);
}

int LinuxShell::StartAndWait(const std::string& file, const std::string& parameters, const std::string& directory,
                             int /*showValue*/)
{
    if (file.empty())
        return NotStarted;
    const std::string path = Absolute(file);
    const auto arguments = parameters.empty() ? std::vector{path} : std::vector{path, parameters};
    const Spawned child = Spawn(arguments, directory, false);
    if (child.error)
        return NotStarted;
    WaitUntilEnded(child.pid);
    return Waited;
}

std::optional<std::vector<std::string>> LinuxShell::RunningProgramFiles() const
{
    std::error_code error;
    std::filesystem::directory_iterator process("/proc", error);
    if (error)
        return std::nullopt;
    std::vector<std::string> programs;
    for (; !error && process != std::filesystem::directory_iterator(); process.increment(error)) {
        if (process->path().filename().string().find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (std::string program = ProgramFile(process->path()); !program.empty())
            programs.push_back(std::move(program));
    }
    return programs;
}

} // namespace platform
