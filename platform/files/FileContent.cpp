#include "platform/files/FileContent.h"

#include "platform/files/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// What a replacement's temporary file is named: the file's own name, this mark and six
// random characters.
constexpr std::string_view ReplacementMark = ".stackle-";

// Reads until the end of the file; /proc files report a size of 0 and still have content. The
// size the file reports, and one byte more to see its end, is read in one go, into room made
// once.
bool ReadToEnd(int file, std::string& content, std::size_t limit, std::size_t reported)
{
    std::size_t done = 0;
    for (;;) {
        if (done == content.size()) {
            if (done == limit)
                break;
            content.resize(std::min(limit, std::max({std::size_t(4096), done * 2, reported + 1})));
        }
        const ssize_t got = read(file, content.data() + done, content.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += std::size_t(got);
    }
    content.resize(done);
    return true;
}

// Flushes a directory's entries to disk, so that a rename within it survives a power cut.
void SyncDirectory(const std::string& path)
{
    const std::string directory = DirectoryPart(path);
    const int fd = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

bool WriteAll(int file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(file, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

} // namespace

FileStamp StampOf(const struct stat& status)
{
    const auto ns = [](const timespec& time) { return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec; };
    return {std::uint64_t(status.st_dev), std::uint64_t(status.st_ino), std::int64_t(status.st_size),
            ns(status.st_mtim), ns(status.st_ctim)};
}

int OpenRegularFile(const std::string& path, struct stat* opened)
{
    // Non-blocking, so that opening a named pipe without a writer returns at once; a regular
    // file reads the same either way.
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (file < 0)
        return -1;
    struct stat ownStatus;
    struct stat& status = opened ? *opened : ownStatus;
    if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(file);
        return -1;
    }
    fcntl(file, F_SETFL, fcntl(file, F_GETFL) & ~O_NONBLOCK);
    return file;
}

std::optional<FileStamp> RegularFileStamp(const std::string& path)
{
    struct stat status;
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return StampOf(status);
}

namespace {

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit, FileStamp* stamp)
{
    struct stat status;
    const int file = OpenRegularFile(path, &status);
    if (file < 0)
        return std::nullopt;
    std::string content;
    const auto reported = std::size_t(status.st_size);
    if (stamp)
        *stamp = StampOf(status);
    const bool read = ReadToEnd(file, content, limit, reported);
    close(file);
    return read ? std::optional(std::move(content)) : std::nullopt;
}

} // namespace

std::optional<std::string> ReadFileContent(const std::string& path, FileStamp* stamp)
{
    return ReadRegularFile(path, std::string().max_size(), stamp);
}

std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit)
{
    return ReadRegularFile(path, limit, nullptr);
}

bool ReplaceFileContent(const std::string& path, std::string_view bytes, std::string& why,
                        const std::function<void()>& afterWriting)
{
    const auto failed = [&why](int error) {
        why = std::strerror(error != 0 ? error : EIO);
        return false;
    };
    // A link is followed, so that the file it names is replaced and the link stays.
    char* resolved = realpath(path.c_str(), nullptr);
    const std::string target = resolved ? resolved : path;
    std::free(resolved);
    struct stat status;
    const bool exists = stat(target.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode))
        return failed(EISDIR);
    if (exists && !S_ISREG(status.st_mode)) {
        why = "Not a regular file";
        return false;
    }
    if (exists && access(target.c_str(), W_OK) != 0)
        return failed(errno);

    std::string temporary = target + std::string(ReplacementMark) + "XXXXXX";
    const int file = mkostemp(temporary.data(), O_CLOEXEC);
    if (file < 0)
        return failed(errno);
    const mode_t umask = ::umask(0);
    ::umask(umask);
    bool written =
        fchmod(file, exists ? status.st_mode & 07777 : 0666 & ~umask) == 0 && WriteAll(file, bytes) && fsync(file) == 0;
    int error = written ? 0 : errno;
    if (close(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && afterWriting)
        afterWriting();
    if (written && rename(temporary.c_str(), target.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        unlink(temporary.c_str());
        return failed(error);
    }
    SyncDirectory(target);
    return true;
}

bool ReplaceFileContent(const std::string& path, std::string_view bytes, const std::function<void()>& afterWriting)
{
    std::string why;
    return ReplaceFileContent(path, bytes, why, afterWriting);
}

void RemoveReplacementLeftovers(const std::string& directory, const std::vector<std::string>& names)
{
    DIR* folder = opendir(directory.c_str());
    if (!folder)
        return;
    while (const dirent* entry = readdir(folder)) {
        const std::string_view name = entry->d_name;
        const auto mark = name.rfind(ReplacementMark);
        if (mark == std::string_view::npos || name.size() != mark + ReplacementMark.size() + 6)
            continue;
        if (std::find(names.begin(), names.end(), name.substr(0, mark)) == names.end())
            continue;
        const std::string leftover = directory + std::string(name);
        if (struct stat status; lstat(leftover.c_str(), &status) == 0 && S_ISREG(status.st_mode))
            unlink(leftover.c_str());
    }
    closedir(folder);
}

} // namespace platform
