#pragma once

#include <string>

namespace platform {

// Where the running program lives. Stackle keeps all its files next to its binary.
class ProgramLocation {
public:
    virtual ~ProgramLocation() = default;

    // Full path of the running program file.
    virtual std::string ProgramFile() const = 0;

    // The directory part of ProgramFile(), with its final '/'.
    std::string ProgramDirectory() const;
};

} // namespace platform
