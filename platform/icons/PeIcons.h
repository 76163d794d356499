#pragma once

#include <QImage>

#include <optional>
#include <string_view>

namespace platform {

// Whether bytes begin as a Windows program or library: a DOS header leading to the PE header of
// a 32-bit or 64-bit image, with a section table inside the file.
bool IsPeImage(std::string_view bytes);

// Icon number index of a Windows program or library at 32 × 32: its index-th icon group
// resource in the order of the resource directory, made from the group's picture nearest that
// size (see BestIconImage). Nothing when there is no such group or the file is broken: every
// offset, size and count is checked against the file and against fixed limits.
std::optional<QImage> IconFromPeBytes(std::string_view bytes, int index);

} // namespace platform
