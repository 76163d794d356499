#pragma once

#include "platform/ApplicationIcons.h"
#include "platform/IconSource.h"

namespace platform {

// Icons as a Linux desktop shows files: the pictures inside icon files and Windows programs,
// the Icon of .desktop files and of the installed application that starts a program, image
// files themselves, and otherwise the icon theme's icon for the file's MIME type. Nothing is
// set up before the first icon is asked for. GUI thread only.
class LinuxIcons final : public IconSource {
public:
    std::optional<QImage> ExtractIcon(const std::string& file, int index) override;

private:
    ApplicationIcons applications_;
};

} // namespace platform
