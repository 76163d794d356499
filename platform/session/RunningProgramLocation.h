#pragma once

#include "platform/ProgramLocation.h"

#include <utility>

namespace platform {

// The program file of this process, as /proc/self/exe names it, and the data folder start-up
// chose for it.
class RunningProgramLocation final : public ProgramLocation {
public:
    std::string ProgramFile() const override;
    // The program directory until UseDataDirectory names another.
    std::string DataDirectory() const override;

    void UseDataDirectory(std::string directory) { dataDirectory_ = std::move(directory); }

private:
    std::string dataDirectory_;
};

} // namespace platform
