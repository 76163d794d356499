#pragma once

#include <string>

namespace platform {

// Where the running program lives, and where it keeps its files.
class ProgramLocation {
public:
    virtual ~ProgramLocation() = default;

    // Full path of the running program file.
    virtual std::string ProgramFile() const = 0;

    // The folder of the files the program keeps (settings, lists, notes), with its final '/'.
    // Chosen once at start-up; the program directory unless that cannot be written.
    virtual std::string DataDirectory() const = 0;

    // The directory part of ProgramFile(), with its final '/'.
    std::string ProgramDirectory() const;

    // A read-only file installed with the program: the one beside the program file, or else
    // the one in the installation's shared folder (<prefix>/share/stackle/ for a program in
    // <prefix>/bin/); the path beside the program when neither is there.
    std::string InstalledFile(const std::string& name) const;
};

} // namespace platform
