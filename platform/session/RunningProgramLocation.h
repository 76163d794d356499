#pragma once

#include "platform/ProgramLocation.h"

namespace platform {

// The program file of this process, as /proc/self/exe names it.
class RunningProgramLocation final : public ProgramLocation {
public:
    std::string ProgramFile() const override;
};

} // namespace platform
