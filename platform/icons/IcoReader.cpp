#include "platform/icons/IcoReader.h"

#include "platform/icons/ByteView.h"
#include "platform/icons/IconImage.h"

namespace platform {

namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;

} // namespace

bool IsIcoFile(std::string_view bytes)
{
    const ByteView file(bytes);
    return file.has(0, kDirectorySize) && file.u16(0) == 0 && file.u16(2) == 1 && file.u16(4) > 0;
}

std::optional<QImage> IconFromIcoBytes(std::string_view bytes)
{
    if (!IsIcoFile(bytes))
        return std::nullopt;
    const ByteView file(bytes);
    const std::size_t count = file.u16(4);
    if (count > kMaxIconPictures)
        return std::nullopt;
    const auto table = file.slice(kDirectorySize, count * kEntrySize);
    if (!table)
        return std::nullopt;
    std::vector<IconImageEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = i * kEntrySize;
        const std::uint32_t size = table->u32(at + 8);
        const auto payload = size <= kMaxIconPayload ? file.slice(table->u32(at + 12), size) : std::nullopt;
        if (!payload)
            continue; // a picture outside the file; the others may still do
        entries.push_back({table->u8(at) == 0 ? 256 : table->u8(at), table->u8(at + 1) == 0 ? 256 : table->u8(at + 1),
                           table->u16(at + 6), payload->bytes()});
    }
    return BestIconImage(std::move(entries));
}

} // namespace platform
