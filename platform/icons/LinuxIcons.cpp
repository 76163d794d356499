#include "platform/icons/LinuxIcons.h"

#include "platform/desktop/DesktopEntry.h"
#include "platform/files/FileType.h"
#include "platform/files/MappedFile.h"
#include "platform/icons/IcoReader.h"
#include "platform/icons/IconImage.h"
#include "platform/icons/IconTheme.h"
#include "platform/icons/PeIcons.h"
#include "platform/text/Ascii.h"

#include <QImageReader>
#include <QMimeType>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <utility>

namespace platform {

namespace fs = std::filesystem;

namespace {

std::string LowerCaseExtension(const std::string& file)
{
    return AsciiLower(fs::path(file).extension().string());
}

bool HasWindowsProgramExtension(const std::string& file)
{
    const std::string extension = LowerCaseExtension(file);
    for (const char* windows : {".exe", ".dll", ".scr", ".cpl", ".ocx"})
        if (extension == windows)
            return true;
    return false;
}

// A program the system can run itself: an executable ELF binary or script.
bool IsNativeProgram(const std::string& file, std::string_view bytes)
{
    return (bytes.starts_with("\x7f"
                              "ELF")
            || bytes.starts_with("#!"))
        && ::access(file.c_str(), X_OK) == 0;
}

// The picture in an image file's bytes, in whatever format the image plugins read.
std::optional<QImage> PictureIcon(std::string_view bytes, const QMimeType& type)
{
    if (IsIcoFile(bytes))
        return IconFromIcoBytes(bytes);
    // The format its type names comes first: guessing it loads every image plugin there is.
    const QByteArray format = QImageReader::imageFormatsForMimeType(type.name().toLatin1()).value(0);
    QImage image = format.isEmpty() ? QImage() : ReadPicture(bytes, format);
    if (image.isNull())
        image = ReadPicture(bytes, {});
    if (image.isNull())
        return std::nullopt;
    return FitIconSquare(image);
}

// The picture of an image file. The file is read by its bytes, whatever its name's encoding, and
// only when it is a regular file.
std::optional<QImage> ImageFileIcon(const std::string& file)
{
    const auto mapped = MappedFile::Open(file);
    return mapped ? PictureIcon(mapped->bytes(), FileType(file, mapped->bytes())) : std::nullopt;
}

// The icon an Icon key names: an image file by absolute path, else an icon of the theme.
std::optional<QImage> NamedIcon(const std::string& icon)
{
    return icon.starts_with('/') ? ImageFileIcon(icon) : ThemeIcon(icon);
}

std::optional<QImage> MimeTypeIcon(const QMimeType& type)
{
    for (const QString& name :
         {type.iconName(), type.genericIconName(), QStringLiteral("unknown"), QStringLiteral("text-x-generic")})
        if (auto icon = ThemeIcon(name.toStdString()))
            return icon;
    return std::nullopt;
}

} // namespace

bool LinuxIcons::IsOwnProgram(const struct stat& status)
{
    if (!ownProgram_) {
        struct stat running;
        ownProgram_ = stat("/proc/self/exe", &running) == 0 ? std::pair(running.st_dev, running.st_ino)
                                                            : std::pair(dev_t(0), ino_t(0));
    }
    return *ownProgram_ == std::pair(status.st_dev, status.st_ino);
}

std::optional<QImage> LinuxIcons::OwnIcon()
{
    if (!HasGuiApplication())
        return std::nullopt;
    if (loadOwnIcon_)
        if (const QImage image = std::exchange(loadOwnIcon_, nullptr)(); !image.isNull())
            ownIcon_ = FitIconSquare(image);
    return ownIcon_;
}

std::optional<QImage> LinuxIcons::ExtractIcon(const std::string& file, int index)
{
    struct stat status;
    if (file.empty() || index < 0 || stat(file.c_str(), &status) != 0)
        return std::nullopt;
    if (IsOwnProgram(status))
        return index == 0 ? OwnIcon() : std::nullopt;
    const FileStamp stamp = StampOf(status);
    if (const auto known = iconFiles_.find(file); known != iconFiles_.end() && known->second.stamp == stamp)
        return index == 0 ? known->second.icon : std::nullopt;

    const auto mapped = S_ISREG(status.st_mode) ? MappedFile::Open(file) : std::nullopt;
    const std::string_view bytes = mapped ? mapped->bytes() : std::string_view();
    // The content tells icon files and Windows programs, whatever their names.
    if (IsIcoFile(bytes)) {
        if (index != 0)
            return std::nullopt;
        const IconFileRead& read = iconFiles_[file] = {stamp, IconFromIcoBytes(bytes)};
        return read.icon;
    }
    if (HasWindowsProgramExtension(file) || (bytes.starts_with("MZ") && IsPeImage(bytes)))
        return IconFromPeBytes(bytes, index);
    if (index != 0)
        return std::nullopt;

    if (mapped && IsDesktopEntryFile(file)) {
        const DesktopEntry entry = DesktopEntry::Parse(file, bytes);
        if (auto icon = NamedIcon(entry.value("Icon")))
            return icon;
    }
    if (IsNativeProgram(file, bytes)) {
        const char* path = std::getenv("PATH");
        std::error_code error;
        const std::string application = applications_.IconOf(fs::absolute(file, error).lexically_normal().string(),
                                                             XdgDirectories::FromEnvironment(), path ? path : "");
        if (auto icon = application.empty() ? std::nullopt : NamedIcon(application))
            return icon;
        if (auto icon = ThemeIcon("application-x-executable"))
            return icon;
    }
    const QMimeType type = mapped ? FileType(file, bytes) : FileType(file);
    if (mapped && type.name().startsWith(QLatin1String("image/")))
        if (auto icon = PictureIcon(bytes, type))
            return icon;
    return MimeTypeIcon(type);
}

} // namespace platform
