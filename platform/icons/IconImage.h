#pragma once

#include <QImage>

#include <optional>
#include <string_view>
#include <vector>

namespace platform {

// The side of the icons a launcher button shows.
inline constexpr int kIconSide = 32;

// Limits on what an icon file may ask of us: larger images, payloads and tables are taken as
// broken rather than read.
inline constexpr int kMaxIconImageSide = 1024;
inline constexpr std::size_t kMaxIconPayload = 4 * 1024 * 1024;
inline constexpr std::size_t kMaxIconPictures = 1024;

// One picture of an icon as the icon's directory lists it.
struct IconImageEntry {
    int width = 0; // in pixels; a stored 0 stands for 256
    int height = 0;
    int bitCount = 0; // 0 when the directory does not tell
    std::string_view payload;
};

// The picture of an icon image payload: a PNG, or a device-independent bitmap (info header, colour
// table, colour pixels and the 1 bpp AND mask, stored with twice the picture's height). Nothing
// when the payload is broken or larger than kMaxIconImageSide.
std::optional<QImage> DecodeIconImage(std::string_view payload);

// The icon at kIconSide × kIconSide from its pictures: the one of that size with the most colours,
// else the one nearest in size, scaled. A picture that does not decode gives way to the next best.
std::optional<QImage> BestIconImage(std::vector<IconImageEntry> entries);

// The picture in bytes, read in format, or with the format guessed when format is empty. Formats
// that can render small directly (SVG, JPEG) are read at the size that fits kIconSide.
QImage ReadPicture(std::string_view bytes, const QByteArray& format);

// image scaled smoothly to fit kIconSide × kIconSide, keeping its aspect ratio, and centred on a
// transparent square of that size.
QImage FitIconSquare(const QImage& image);

// Whether pictures can be drawn here: image plugins and icon themes need a GUI application.
bool HasGuiApplication();

} // namespace platform
