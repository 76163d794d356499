#pragma once

#include <QMimeType>

#include <string>
#include <string_view>

namespace platform {

// The MIME type of the file at path, from its name and its first bytes; a folder is
// inode/directory, and a named pipe, a device or a socket is typed by its name alone and never
// read.
QMimeType FileType(const std::string& path);

// The same for a regular file whose bytes are already at hand.
QMimeType FileType(const std::string& path, std::string_view bytes);

} // namespace platform
