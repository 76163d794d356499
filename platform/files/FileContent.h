#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The whole content of the file at path, or nothing when it does not exist or cannot be read.
std::optional<std::string> ReadFileContent(const std::string& path);

// Replaces the whole content of the file at path, creating it when it does not exist. The bytes
// go to a temporary file in the same directory, which is flushed to disk and then renamed over
// the old file, so a crash, a kill or a full disk never leaves a half-written file behind.
// Returns false when the file cannot be written (read-only file or directory, missing
// directory); the old file is then untouched.
//
// afterWriting, when given, runs once the bytes are in the temporary file and before it
// replaces the old one: tests interrupt a write at its most delicate moment through it.
bool ReplaceFileContent(const std::string& path, std::string_view bytes,
                        const std::function<void()>& afterWriting = {});

} // namespace platform
