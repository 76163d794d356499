#include "platform/files/FileContent.h"

#include <QFile>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// Reads until the end of the file; /proc files report a size of 0 and still have content.
bool ReadToEnd(int file, std::string& content, std::size_t limit)
{
    std::size_t done = 0;
    for (;;) {
        if (done == content.size()) {
            if (done == limit)
                break;
            content.resize(std::min(limit, std::max<std::size_t>(4096, done * 2)));
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

// Whether something other than a regular file stands at path: a pipe, a device, a socket or a
// directory, which a write must not replace.
bool IsOtherThanRegularFile(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
}

// Flushes a directory's entries to disk, so that a rename within it survives a power cut.
void SyncDirectory(const std::string& path)
{
    const auto slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

} // namespace

int OpenRegularFile(const std::string& path)
{
    // Non-blocking, so that opening a named pipe without a writer returns at once; a regular
    // file reads the same either way.
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (file < 0)
        return -1;
    struct stat status;
    if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(file);
        return -1;
    }
    fcntl(file, F_SETFL, fcntl(file, F_GETFL) & ~O_NONBLOCK);
    return file;
}

std::optional<std::string> ReadFileContent(const std::string& path)
{
    return ReadFileHead(path, std::string().max_size());
}

std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit)
{
    const int file = OpenRegularFile(path);
    if (file < 0)
        return std::nullopt;
    std::string content;
    struct stat status;
    if (fstat(file, &status) == 0)
        content.reserve(std::min(limit, std::size_t(status.st_size)));
    const bool read = ReadToEnd(file, content, limit);
    close(file);
    return read ? std::optional(std::move(content)) : std::nullopt;
}

bool ReplaceFileContent(const std::string& path, std::string_view bytes,
                        const std::function<void()>& afterWriting)
{
    if (IsOtherThanRegularFile(path))
        return false;
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    if (afterWriting)
        afterWriting();
    if (!file.commit())
        return false;
    SyncDirectory(path);
    return true;
}

} // namespace platform
