#pragma once

#include "platform/Shell.h"

namespace platform {

// Starts programs with posix_spawn, never through a command shell, finds the application of a
// document from the freedesktop.org MIME associations, and lists processes from /proc.
class LinuxShell final : public Shell {
public:
    // showValue has no meaning under X11 and is ignored.
    int ShellStart(const std::string& file, const std::string& parameters, const std::string& directory,
                   int showValue) override;
    int StartAndWait(const std::string& file, const std::string& parameters, const std::string& directory,
                     int showValue) override;
    std::optional<std::vector<std::string>> RunningProgramFiles() const override;
};

} // namespace platform
