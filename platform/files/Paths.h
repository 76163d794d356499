#pragma once

#include <string>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

// The directory part of a path: everything up to and including its last '/', or empty text
// when it has none.
inline std::string DirectoryPart(std::string_view path)
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

// The file-name part of a path: everything after its last '/'.
inline std::string FileNamePart(std::string_view path)
{
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// Whether something of that name exists in the file system.
inline bool FileExists(const std::string& path)
{
    struct stat status;
    return !path.empty() && stat(path.c_str(), &status) == 0;
}

// Whether path names a folder.
inline bool IsDirectory(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Whether path names a regular file that we may run.
inline bool IsExecutableFile(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}

} // namespace platform
