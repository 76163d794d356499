#pragma once

#include <QImage>

#include <optional>
#include <string>

namespace platform {

// The icons of files, as a launcher shows them.
class IconSource {
public:
    virtual ~IconSource() = default;

    // Icon number index of file as a 32 × 32 picture, or nothing when the file does not exist
    // or holds no such icon.
    virtual std::optional<QImage> ExtractIcon(const std::string& file, int index) = 0;
};

} // namespace platform
