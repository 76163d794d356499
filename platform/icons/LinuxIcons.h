#pragma once

#include "platform/IconSource.h"
#include "platform/files/FileContent.h"
#include "platform/icons/ApplicationIcons.h"

#include <functional>
#include <map>
#include <utility>

#include <sys/stat.h>

namespace platform {

// Icons as a Linux desktop shows files: the pictures inside icon files and Windows programs,
// the Icon of .desktop files and of the installed application that starts a program, image
// files themselves, and otherwise the icon theme's icon for the file's MIME type. Nothing is
// set up before the first icon is asked for. GUI thread only.
class LinuxIcons final : public IconSource {
public:
    // ownIcon gives the running program's own icon; it is called once, when that icon is first
    // asked for.
    explicit LinuxIcons(std::function<QImage()> ownIcon)
        : loadOwnIcon_(std::move(ownIcon))
    {
    }

    std::optional<QImage> ExtractIcon(const std::string& file, int index) override;

private:
    // The last picture of each icon file, with the file's stamp when it was read: every empty
    // slot shows the same blank icon file.
    struct IconFileRead {
        FileStamp stamp;
        std::optional<QImage> icon;
    };
    bool IsOwnProgram(const struct stat& status);
    std::optional<QImage> OwnIcon();

    std::function<QImage()> loadOwnIcon_;
    std::optional<QImage> ownIcon_;
    std::optional<std::pair<dev_t, ino_t>> ownProgram_; // the running program's file, once looked at

    ApplicationIcons applications_;
    std::map<std::string, IconFileRead> iconFiles_;
};

} // namespace platform
