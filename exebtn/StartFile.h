#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {
class Session;
class Shell;
struct Platform;
} // namespace platform

// How a started program's window is shown.
enum class TShowCmd : std::uint8_t { scNormal, scMaximize, scMinimize, scHide, scNA };

// Language of the failure messages.
enum class TLanguage : std::uint8_t { english, german };

// The show value handed to the platform for a show command.
int ShowValue(TShowCmd command);

// Everything a start needs to know, as a launcher button holds it.
struct TStartSettings {
    std::string ExeFile; // the file to start; empty: nothing to start
    std::string ExeParams; // handed to the started file as one argument
    std::string ExePath; // working directory; empty: the directory of ExeFile
    TShowCmd ExeShowCmd = TShowCmd::scNormal;
    bool ExecAndWait = false; // run the program and wait for its end
    bool ExeOneInstance = false; // do not start what already runs
    TLanguage Language = TLanguage::english;
};

// The message shown for a failed start's code (32 or less).
std::string StartFailureMessage(int code, TLanguage language, const std::string& exeFile);

// How many running processes' program files have the same file name as file, letters a to z
// compared without regard to case; 0 when the processes cannot be listed.
int CountRunningInstances(const std::string& file, const platform::Shell& shell);

// Runs the program and waits for its end with the main window hidden: 33, or -1 when it cannot
// be started.
int StartAndWait(platform::Shell& shell, platform::Session& session, const std::string& file,
                 const std::string& parameters, const std::string& directory, int showValue);

// Starts settings.ExeFile: through the desktop, returning at once, or, with ExecAndWait, by
// running it and waiting for its end. notify runs once the one-instance test has passed. A
// failed start is shown to the user in an "Error" box here and never reported to the caller.
void StartFile(const TStartSettings& settings, const std::function<void()>& notify, const platform::Platform& platform);
