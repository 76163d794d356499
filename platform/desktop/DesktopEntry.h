#pragma once

#include "platform/desktop/KeyFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Whether path names a desktop entry file, a launcher: its name ends in ".desktop".
inline bool IsDesktopEntryFile(std::string_view path)
{
    return path.ends_with(".desktop");
}

// The [Desktop Entry] group of a .desktop file.
class DesktopEntry {
public:
    DesktopEntry(std::string path, KeyGroup keys);

    // Nothing when the file cannot be read.
    static std::optional<DesktopEntry> Read(const std::string& path);
    // The entry in the content of the file at path.
    static DesktopEntry Parse(const std::string& path, std::string_view content);

    const std::string& path() const { return path_; }
    // The value of key, empty when it is missing.
    std::string value(const std::string& key) const;
    bool isApplication() const { return value("Type") == "Application"; }
    // An application that is not hidden and has a command to run.
    bool isUsableApplication() const { return isApplication() && value("Hidden") != "true" && !value("Exec").empty(); }

private:
    std::string path_;
    KeyGroup keys_;
};

// The Exec command of an application entry as an argument vector.
struct ExecCommand {
    std::vector<std::string> arguments;
    bool takesFile = false; // Exec has a file or URL field code: %f, %F, %u or %U
};

// Expands the entry's Exec value: blanks separate arguments, double quotes group them (inside,
// a backslash escapes " ` $ and \), and field codes are replaced: %f %F %u %U by file, %i by
// "--icon" and the Icon value, %c by the Name, %k by the entry's path, %% by %. Each value goes
// in single-quoted before the line is split, so that a bare %f becomes exactly one argument and
// a value inside a quoted argument that a shell reads (sh -c "... %f ...") reaches that shell
// quoted, never as commands. %f vanishes when file is empty. Nothing when Exec is empty or
// leaves a quote open.
std::optional<ExecCommand> ExpandExec(const DesktopEntry& entry, const std::string& file);

} // namespace platform
