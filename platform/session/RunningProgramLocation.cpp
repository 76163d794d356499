#include "platform/session/RunningProgramLocation.h"

#include <unistd.h>

namespace platform {

std::string RunningProgramLocation::ProgramFile() const
{
    // The link's target, however long: read again into more room while it may have been cut.
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0)
            return {};
        if (std::size_t(length) < path.size()) {
            path.resize(std::size_t(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string RunningProgramLocation::DataDirectory() const
{
    return dataDirectory_.empty() ? ProgramDirectory() : dataDirectory_;
}

} // namespace platform
