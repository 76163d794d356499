#include "platform/ProgramLocation.h"

#include "platform/files/Paths.h"

namespace platform {

std::string ProgramLocation::programDirectory() const
{
    return DirectoryPart(programFile());
}

} // namespace platform
