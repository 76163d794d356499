#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Starting programs and opening documents the way the desktop does. Paths and texts are bytes
// as the file system holds them.
class Shell {
public:
    virtual ~Shell() = default;

    // Opens file with its parameter text in directory (empty: the caller's own) and returns at
    // once. A folder opens in the file manager, an executable file runs with the parameter text
    // as its one argument, a launcher (.desktop) file runs its command, any other file opens in
    // the application associated with its type. Gives a value above 32 on success, otherwise a
    // failure code: 2 file missing, 3 directory missing, 5 permission denied, 8 out of memory,
    // 11 not a program this machine can run, 31 no application associated with the document,
    // any other value of 32 or less for other failures.
    virtual int ShellStart(const std::string& file, const std::string& parameters, const std::string& directory,
                           int showValue) = 0;

    // Runs the program file directly, the parameter text as its one argument when not empty,
    // in directory, and waits until it has ended. Gives 33, or -1 when it cannot be started.
    virtual int StartAndWait(const std::string& file, const std::string& parameters, const std::string& directory,
                             int showValue) = 0;

    // The program file of every running process (a full path, or the bare command name where
    // the path cannot be read), or nothing when the processes cannot be listed.
    virtual std::optional<std::vector<std::string>> RunningProgramFiles() const = 0;
};

} // namespace platform
