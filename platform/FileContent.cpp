#include "platform/FileContent.h"

#include <QFile>
#include <QSaveFile>

#include <fstream>
#include <iterator>

namespace platform {

std::optional<std::string> ReadFileContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string content;
    try {
        content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        return std::nullopt; // the stream buffer throws on a read error, e.g. when path is a directory
    }
    if (in.bad())
        return std::nullopt;
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
