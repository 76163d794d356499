#include "platform/ProgramLocation.h"

#include "platform/files/Paths.h"

namespace platform {

std::string ProgramLocation::ProgramDirectory() const
{
    return DirectoryPart(ProgramFile());
}

} // namespace platform
