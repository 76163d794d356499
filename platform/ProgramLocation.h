#pragma once

#include <string>

namespace platform {

// Where the running program lives. Stackle keeps all its files next to its binary.
class ProgramLocation {
public:
    virtual ~ProgramLocation() = default;

    // Full path of the running program file.
    virtual std::string programFile() const = 0;

    // The directory part of programFile(), with its final '/'.
    std::string programDirectory() const;
};

} // namespace platform
