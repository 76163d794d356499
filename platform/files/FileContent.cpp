#include "platform/files/FileContent.h"

#include <QFile>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

std::optional<std::string> ReadFileContent(const std::string& path)
{
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return std::nullopt;
    std::optional<std::string> content;
    struct stat status;
    if (fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
        content.emplace(std::size_t(status.st_size), '\0');
        std::size_t done = 0;
        while (done < content->size()) {
            const ssize_t got = read(file, content->data() + done, content->size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                content.reset();
            if (got <= 0)
                break;
            done += std::size_t(got);
        }
        if (content)
            content->resize(done); // a file that shrank meanwhile
    }
    close(file);
    return content;
}

bool ReplaceFileContent(const std::string& path, std::string_view bytes,
                        const std::function<void()>& afterWriting)
{
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    if (afterWriting)
        afterWriting();
    return file.commit();
}

} // namespace platform
