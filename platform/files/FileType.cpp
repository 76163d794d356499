#include "platform/files/FileType.h"

#include "platform/files/FileContent.h"
#include "platform/files/Paths.h"
#include "platform/text/Encoding.h"

#include <QMimeDatabase>

namespace platform {

namespace {

// What the MIME database looks at to tell a type by content.
constexpr std::size_t ContentSniffLength = 16384;

} // namespace

QMimeType FileType(const std::string& path)
{
    const QString name = FromBytes(FileNamePart(path));
    if (const auto head = ReadFileHead(path, ContentSniffLength))
        return QMimeDatabase().mimeTypeForFileNameAndData(name, QByteArray::fromStdString(*head));
    if (IsDirectory(path))
        return QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory"));
    return QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
}

QMimeType FileType(const std::string& path, std::string_view bytes)
{
    const QByteArray head =
        QByteArray::fromRawData(bytes.data(), qsizetype(std::min(bytes.size(), ContentSniffLength)));
    return QMimeDatabase().mimeTypeForFileNameAndData(FromBytes(FileNamePart(path)), head);
}

} // namespace platform
