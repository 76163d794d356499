#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct stat;

namespace platform {

// Opens the file at path for reading when it is a regular file (or a link to one), and gives its
// descriptor, and in opened, when given, what it is; -1 otherwise. Never waits: a named pipe, a
// device or a socket is refused unread.
int OpenRegularFile(const std::string& path, struct stat* opened = nullptr);

// What tells one state of a file from another without reading it: which file it is (device and
// inode), its size, and when its content and its inode last changed, in nanoseconds since the
// epoch. Any change to the file, a replacement included, gives another stamp, except a rewrite of
// the same size within one tick of the file system's clock.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of a file from what stat gave.
FileStamp StampOf(const struct stat& status);
// The stamp of the regular file at path (or the one a link names); nothing for anything else.
std::optional<FileStamp> RegularFileStamp(const std::string& path);

// The whole content of the regular file at path, or nothing when it does not exist, cannot be
// read or is no regular file. Read to its end, whatever size the file reports. When stamp is
// given, it receives the file's stamp as it was when the reading began.
std::optional<std::string> ReadFileContent(const std::string& path, FileStamp* stamp = nullptr);
// The same, at most limit bytes from its beginning.
std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit);

// Replaces the whole content of the file at path, creating it when it does not exist (with the
// permissions the umask allows; an existing file keeps its own). The bytes go to a temporary file
// beside it, named after it with ".stackle-" and six random characters, which is flushed to disk
// and then renamed over the old file; the directory is flushed after the rename. So a crash, a
// kill, a full disk or a power cut never leaves a half-written file behind. A link is followed:
// the file it names is replaced. Returns false when the file cannot be written (read-only file or
// directory, missing directory) or is a named pipe, device, socket or directory; the old file is
// then untouched.
//
// afterWriting, when given, runs once the bytes are in the temporary file and before it
// replaces the old one: tests interrupt a write at its most delicate moment through it.
bool ReplaceFileContent(const std::string& path, std::string_view bytes,
                        const std::function<void()>& afterWriting = {});
// The same; when the file cannot be written, why says in the system's words what stood in the
// way ("Permission denied", "Is a directory", "No space left on device", ...).
bool ReplaceFileContent(const std::string& path, std::string_view bytes, std::string& why,
                        const std::function<void()>& afterWriting = {});

// Removes what replacements of the named files in directory (which ends in '/') left behind
// when they were killed before their rename: only temporary files of exactly the form above.
void RemoveReplacementLeftovers(const std::string& directory, const std::vector<std::string>& names);

} // namespace platform
