#include "platform/session/RunningProgramLocation.h"

#include <filesystem>

namespace platform {

std::string RunningProgramLocation::programFile() const
{
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

} // namespace platform
