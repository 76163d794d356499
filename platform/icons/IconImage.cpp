#include "platform/icons/IconImage.h"

#include "platform/icons/ByteView.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace platform {

namespace {

// Pictures tried before giving up on an icon, so that a file listing many broken pictures
// costs little.
constexpr std::size_t kMaxDecodeAttempts = 4;

bool IsPng(std::string_view payload)
{
    return payload.starts_with("\x89PNG");
}

std::optional<QImage> DecodePng(std::string_view payload)
{
    QByteArray data = QByteArray::fromRawData(payload.data(), qsizetype(payload.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // Named explicitly, so that Qt loads no image format plugins to guess.
    QImageReader reader(&buffer, "png");
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxIconImageSide || size.height() > kMaxIconImageSide)
        return std::nullopt;
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

constexpr std::uint32_t kBiRgb = 0;

std::optional<QImage> DecodeDib(ByteView dib)
{
    const std::uint32_t headerSize = dib.u32(0);
    if (headerSize < 40 || headerSize > 256 || !dib.has(0, headerSize))
        return std::nullopt;
    const std::int32_t width = dib.s32(4);
    const std::int32_t doubleHeight = dib.s32(8);
    const int bitCount = dib.u16(14);
    // Bottom-up rows only: the colour rows are followed by the mask's, together twice the height.
    if (width < 1 || width > kMaxIconImageSide || doubleHeight < 2 || doubleHeight / 2 > kMaxIconImageSide)
        return std::nullopt;
    const int height = doubleHeight / 2;
    if (dib.u32(16) != kBiRgb)
        return std::nullopt;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return std::nullopt;

    std::uint32_t colours = 0;
    if (bitCount <= 8) {
        const std::uint32_t used = dib.u32(32);
        colours = used == 0 ? 1u << bitCount : used;
        if (colours > 1u << bitCount)
            return std::nullopt;
    }
    const auto palette = dib.slice(headerSize, std::uint64_t(colours) * 4);
    const std::uint64_t colourStride = (std::uint64_t(width) * bitCount + 31) / 32 * 4;
    const std::uint64_t maskStride = (std::uint64_t(width) + 31) / 32 * 4;
    const std::uint64_t colourOffset = headerSize + std::uint64_t(colours) * 4;
    const auto colourRows = dib.slice(colourOffset, colourStride * height);
    if (!palette || !colourRows)
        return std::nullopt;
    // Pictures with an alpha channel may leave the mask out; the others need it for transparency.
    const auto mask = dib.slice(colourOffset + colourStride * height, maskStride * height);
    if (!mask && bitCount < 32)
        return std::nullopt;

    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return std::nullopt;
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const std::uint64_t row = std::uint64_t(height - 1 - y) * colourStride;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb pixel = 0;
            if (bitCount == 32) {
                const std::uint64_t at = row + std::uint64_t(x) * 4;
                pixel =
                    qRgba(colourRows->u8(at + 2), colourRows->u8(at + 1), colourRows->u8(at), colourRows->u8(at + 3));
                anyAlpha = anyAlpha || qAlpha(pixel) != 0;
            } else if (bitCount == 24) {
                const std::uint64_t at = row + std::uint64_t(x) * 3;
                pixel = qRgb(colourRows->u8(at + 2), colourRows->u8(at + 1), colourRows->u8(at));
            } else {
                const std::uint64_t bit = std::uint64_t(x) * bitCount;
                const int shift = 8 - bitCount - int(bit % 8);
                const std::uint32_t index = (colourRows->u8(row + bit / 8) >> shift) & ((1u << bitCount) - 1);
                // An index beyond a shortened colour table shows black.
                if (index < colours)
                    pixel = qRgb(palette->u8(index * 4 + 2), palette->u8(index * 4 + 1), palette->u8(index * 4));
                else
                    pixel = qRgb(0, 0, 0);
            }
            line[x] = pixel;
        }
    }

    // A 32 bpp picture whose alpha is all zero predates alpha channels: its mask tells transparency.
    if (bitCount == 32 && anyAlpha)
        return image;
    for (int y = 0; y < height; ++y) {
        const std::uint64_t row = std::uint64_t(height - 1 - y) * maskStride;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool transparent = mask && (mask->u8(row + x / 8) >> (7 - x % 8)) & 1;
            line[x] = transparent ? qRgba(0, 0, 0, 0) : line[x] | 0xff000000u;
        }
    }
    return image;
}

// The colour depth of a payload, for directories that leave it out.
int PayloadBitCount(std::string_view payload)
{
    if (IsPng(payload))
        return 32;
    return ByteView(payload).u16(14);
}

} // namespace

std::optional<QImage> DecodeIconImage(std::string_view payload)
{
    if (payload.size() > kMaxIconPayload)
        return std::nullopt;
    return IsPng(payload) ? DecodePng(payload) : DecodeDib(ByteView(payload));
}

std::optional<QImage> BestIconImage(std::vector<IconImageEntry> entries)
{
    for (IconImageEntry& entry : entries)
        if (entry.bitCount == 0)
            entry.bitCount = PayloadBitCount(entry.payload);
    // Nearest in size first; at equal distance the larger, which loses less when scaled; then
    // the most colours.
    const auto distance = [](const IconImageEntry& entry) {
        return std::abs(entry.width - kIconSide) + std::abs(entry.height - kIconSide);
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const IconImageEntry& a, const IconImageEntry& b) {
        if (distance(a) != distance(b))
            return distance(a) < distance(b);
        if (a.width + a.height != b.width + b.height)
            return a.width + a.height > b.width + b.height;
        return a.bitCount > b.bitCount;
    });
    const std::size_t attempts = std::min(entries.size(), kMaxDecodeAttempts);
    for (std::size_t i = 0; i < attempts; ++i)
        if (auto image = DecodeIconImage(entries[i].payload))
            return FitIconSquare(*image);
    return std::nullopt;
}

QImage FitIconSquare(const QImage& image)
{
    if (image.width() == kIconSide && image.height() == kIconSide)
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage scaled = image.scaled(kIconSide, kIconSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage square(kIconSide, kIconSide, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((kIconSide - scaled.width()) / 2, (kIconSide - scaled.height()) / 2, scaled);
    return square;
}

QImage ReadPicture(std::string_view bytes, const QByteArray& format)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(format.isEmpty());
    // Rendering small gives a sharper, cheaper picture than scaling down afterwards.
    if (const QSize size = reader.size(); size.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)) {
        const QSize fitted = size.scaled(kIconSide, kIconSide, Qt::KeepAspectRatio);
        reader.setScaledSize(fitted.expandedTo(QSize(1, 1)));
    }
    return reader.read();
}

bool HasGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace platform
