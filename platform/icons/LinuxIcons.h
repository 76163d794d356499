#pragma once

#include "platform/IconSource.h"
#include "platform/icons/ApplicationIcons.h"

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include <sys/stat.h>
#include <string_view>
#include <utility>

namespace platform {

// Icons as a Linux desktop shows files: the pictures inside icon files and Windows programs,
// the Icon of .desktop files and of the installed application that starts a program, image
// files themselves, and otherwise the icon theme's icon for the file's MIME type. Nothing is
// set up before the first icon is asked for. GUI thread only.
class LinuxIcons final : public IconSource {
public:
    // ownIcon gives the running program's own icon; it is called once, when that icon is first
    // asked for.
    explicit LinuxIcons(std::function<QImage()> ownIcon) : loadOwnIcon_(std::move(ownIcon)) {}

    std::optional<QImage> ExtractIcon(const std::string& file, int index) override;

private:
    // The last picture of each icon file, with the file's size and change time when it was read:
    // every empty slot shows the same blank icon file.
    struct IconFileRead {
        std::int64_t size;
        std::int64_t changed;
        std::optional<QImage> icon;
    };
    std::optional<QImage> IconFileIcon(const std::string& file, const struct stat& status, std::string_view bytes);
    bool IsOwnProgram(const struct stat& status);
    std::optional<QImage> OwnIcon();

    std::function<QImage()> loadOwnIcon_;
    std::optional<QImage> ownIcon_;
    std::optional<std::pair<dev_t, ino_t>> ownProgram_; // the running program's file, once looked at

    ApplicationIcons applications_;
    std::map<std::string, IconFileRead> iconFiles_;
};

} // namespace platform
