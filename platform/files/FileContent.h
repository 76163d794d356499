#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Opens the file at path for reading when it is a regular file (or a link to one), and gives its
// descriptor; -1 otherwise. Never waits: a named pipe, a device or a socket is refused unread.
int OpenRegularFile(const std::string& path);

// The whole content of the regular file at path, or nothing when it does not exist, cannot be
// read or is no regular file. Read to its end, whatever size the file reports.
std::optional<std::string> ReadFileContent(const std::string& path);
// The same, at most limit bytes from its beginning.
std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit);

// Replaces the whole content of the file at path, creating it when it does not exist. The bytes
// go to a temporary file in the same directory, which is flushed to disk and then renamed over
// the old file, so a crash, a kill or a full disk never leaves a half-written file behind.
// The directory is flushed after the rename, so that the new content also survives a power cut.
// Returns false when the file cannot be written (read-only file or directory, missing
// directory) or is a named pipe, device or socket; the old file is then untouched.
//
// afterWriting, when given, runs once the bytes are in the temporary file and before it
// replaces the old one: tests interrupt a write at its most delicate moment through it.
bool ReplaceFileContent(const std::string& path, std::string_view bytes,
                        const std::function<void()>& afterWriting = {});

} // namespace platform
