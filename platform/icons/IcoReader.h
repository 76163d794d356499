#pragma once

#include <QImage>

#include <optional>
#include <string_view>

namespace platform {

// Whether bytes begin as an icon file: a directory with reserved 0, type 1 (icon, not cursor)
// and at least one picture. The content decides, not the file name.
bool IsIcoFile(std::string_view bytes);

// The icon of an icon file at 32 × 32 (see BestIconImage), or nothing when the file is not an
// icon file or is broken.
std::optional<QImage> IconFromIcoBytes(std::string_view bytes);

} // namespace platform
