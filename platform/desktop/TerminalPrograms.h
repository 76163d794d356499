#pragma once

#include "platform/desktop/XdgDirectories.h"

#include <string>

namespace platform {

// Whether program is a terminal program: an installed application entry asks for a terminal
// (Terminal=true) and its command runs this very file (the Exec program, found in PATH when it
// has no '/', is the same file, also through links).
bool IsTerminalProgram(const std::string& program, const XdgDirectories& directories);

} // namespace platform
