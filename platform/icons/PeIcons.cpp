#include "platform/icons/PeIcons.h"

#include "platform/icons/ByteView.h"
#include "platform/icons/IconImage.h"

#include <vector>

namespace platform {

namespace {

constexpr std::uint32_t kMaxSections = 96;
constexpr std::uint32_t kMaxDirectoryEntries = 4096;
constexpr std::uint16_t kIconType = 3;
constexpr std::uint16_t kIconGroupType = 14;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kGroupHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t mappedSize; // the part of the section both loaded and stored in the file
    std::uint32_t fileOffset;
};

struct DirectoryEntry {
    std::uint32_t name; // an id, or with kSubdirectoryBit set the offset of a name
    std::uint32_t target; // a subdirectory when kSubdirectoryBit is set, else a data entry
};

// The parts of a PE image the icon resources need: its sections and its resource directory.
class PeImage {
public:
    static std::optional<PeImage> Parse(std::string_view bytes)
    {
        const ByteView file(bytes);
        if (!file.has(0, 64) || file.u16(0) != 0x5a4d) // "MZ"
            return std::nullopt;
        const std::uint32_t pe = file.u32(0x3c);
        const auto coff = file.slice(pe, 24);
        if (!coff || coff->u32(0) != 0x00004550) // "PE\0\0"
            return std::nullopt;
        const std::uint32_t sectionCount = coff->u16(6);
        const std::uint32_t optionalSize = coff->u16(20);
        const auto optional = file.slice(std::uint64_t(pe) + 24, optionalSize);
        if (!optional || sectionCount > kMaxSections)
            return std::nullopt;

        // The data directories follow the optional header's fixed part, longer for PE32+.
        std::uint32_t directories = 0;
        if (optional->u16(0) == 0x10b)
            directories = 96;
        else if (optional->u16(0) == 0x20b)
            directories = 112;
        else
            return std::nullopt;
        if (optionalSize < directories)
            return std::nullopt;

        PeImage image;
        image.file_ = file;
        constexpr std::uint32_t kResourceDirectory = 2;
        const std::uint32_t resourceEntry = directories + 8 * kResourceDirectory;
        if (optional->u32(directories - 4) > kResourceDirectory && optional->has(resourceEntry, 8))
            image.resources_ = optional->u32(resourceEntry);

        const auto table = file.slice(std::uint64_t(pe) + 24 + optionalSize, sectionCount * kSectionHeaderSize);
        if (!table)
            return std::nullopt;
        for (std::uint32_t i = 0; i < sectionCount; ++i) {
            const std::size_t at = i * kSectionHeaderSize;
            const std::uint32_t virtualSize = table->u32(at + 8);
            const std::uint32_t rawSize = table->u32(at + 16);
            const std::uint32_t mapped = virtualSize == 0 ? rawSize : std::min(virtualSize, rawSize);
            image.sections_.push_back({table->u32(at + 12), mapped, table->u32(at + 20)});
        }
        return image;
    }

    // The bytes at an address of the loaded image, when they are stored in the file.
    std::optional<ByteView> at(std::uint64_t rva, std::uint64_t length) const
    {
        for (const Section& section : sections_) {
            if (rva < section.virtualAddress)
                continue;
            const std::uint64_t offset = rva - section.virtualAddress;
            if (offset < section.mappedSize && length <= section.mappedSize - offset)
                return file_.slice(section.fileOffset + offset, length);
        }
        return std::nullopt;
    }

    // The entries of the resource directory at offset within the resources, in stored order:
    // named entries, then those with ids.
    std::optional<std::vector<DirectoryEntry>> directory(std::uint32_t offset) const
    {
        if (resources_ == 0)
            return std::nullopt;
        const auto header = at(std::uint64_t(resources_) + offset, 16);
        if (!header)
            return std::nullopt;
        const std::uint32_t count = std::uint32_t(header->u16(12)) + header->u16(14);
        if (count > kMaxDirectoryEntries)
            return std::nullopt;
        const auto table = at(std::uint64_t(resources_) + offset + 16, std::uint64_t(count) * 8);
        if (!table)
            return std::nullopt;
        std::vector<DirectoryEntry> entries;
        for (std::uint32_t i = 0; i < count; ++i)
            entries.push_back({table->u32(i * 8), table->u32(i * 8 + 4)});
        return entries;
    }

    // The data of a resource: the first language of the name at the second level, which
    // must be a data entry. The directory has three levels, so no chain of subdirectories is
    // followed any further, whatever it points at.
    std::optional<ByteView> data(const DirectoryEntry& name) const
    {
        if (!(name.target & kSubdirectoryBit))
            return std::nullopt;
        const auto languages = directory(name.target & ~kSubdirectoryBit);
        if (!languages || languages->empty() || (languages->front().target & kSubdirectoryBit))
            return std::nullopt;
        const auto entry = at(std::uint64_t(resources_) + languages->front().target, 16);
        if (!entry || entry->u32(4) > kMaxIconPayload)
            return std::nullopt;
        return at(entry->u32(0), entry->u32(4));
    }

    // The names (second level) of the resources of a type given by id.
    std::vector<DirectoryEntry> namesOfType(std::uint16_t type) const
    {
        const auto types = directory(0);
        if (!types)
            return {};
        for (const DirectoryEntry& entry : *types)
            if (entry.name == type && (entry.target & kSubdirectoryBit))
                return directory(entry.target & ~kSubdirectoryBit).value_or(std::vector<DirectoryEntry>());
        return {};
    }

private:
    ByteView file_;
    std::uint32_t resources_ = 0;
    std::vector<Section> sections_;
};

} // namespace

bool IsPeImage(std::string_view bytes)
{
    return PeImage::Parse(bytes).has_value();
}

std::optional<QImage> IconFromPeBytes(std::string_view bytes, int index)
{
    const auto image = PeImage::Parse(bytes);
    if (!image || index < 0)
        return std::nullopt;
    const auto groups = image->namesOfType(kIconGroupType);
    if (std::size_t(index) >= groups.size())
        return std::nullopt;
    const auto group = image->data(groups[std::size_t(index)]);
    if (!group || group->u16(0) != 0 || group->u16(2) != 1)
        return std::nullopt;
    const std::size_t count = group->u16(4);
    if (count > kMaxIconPictures || !group->has(kGroupHeaderSize, count * kGroupEntrySize))
        return std::nullopt;

    const auto icons = image->namesOfType(kIconType);
    std::vector<IconImageEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kGroupHeaderSize + i * kGroupEntrySize;
        const std::uint16_t id = group->u16(at + 12);
        for (const DirectoryEntry& icon : icons) {
            if (icon.name != id)
                continue;
            if (const auto payload = image->data(icon))
                entries.push_back({group->u8(at) == 0 ? 256 : group->u8(at),
                                   group->u8(at + 1) == 0 ? 256 : group->u8(at + 1), group->u16(at + 6),
                                   payload->bytes()});
            break;
        }
    }
    return BestIconImage(std::move(entries));
}

} // namespace platform
