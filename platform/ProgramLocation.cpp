#include "platform/ProgramLocation.h"

#include "platform/files/Paths.h"

#include <filesystem>

namespace platform {

std::string ProgramLocation::ProgramDirectory() const
{
    return DirectoryPart(ProgramFile());
}

std::string ProgramLocation::InstalledFile(const std::string& name) const
{
    const std::string beside = ProgramDirectory() + name;
    if (FileExists(beside))
        return beside;
    std::string shared = (std::filesystem::path(ProgramDirectory()) / "../share/stackle" / name).lexically_normal();
    return FileExists(shared) ? shared : beside;
}

} // namespace platform
