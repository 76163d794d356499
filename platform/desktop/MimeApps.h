#pragma once

#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/XdgDirectories.h"

#include <optional>
#include <string>
#include <vector>

namespace platform {

// A MIME type under each of its names: its own and its aliases.
using MimeTypeNames = std::vector<std::string>;

// The application that opens documents of a type, given from the type itself to its least
// specific ancestor. For each type in turn: its default application from the mimeapps.list
// files, where an application associated with one of the type's ancestors counts as associated
// with the type as well, else the most preferred application associated with the type itself
// through [Added Associations] or the MimeType key of an installed desktop file, where one that
// lists the type by its own name comes before one that lists only an alias of it. [Removed
// Associations] take an application away from the type in their own place and every less
// important one. Nothing when no application is associated with any of the types.
std::optional<DesktopEntry> DefaultApplication(const std::vector<MimeTypeNames>& types,
                                               const XdgDirectories& directories);

} // namespace platform
