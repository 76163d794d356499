#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// Little-endian numbers and sub-ranges of a byte buffer that come from an untrusted file. No read
// ever leaves the buffer: a range that does not fit is nothing, a number past the end reads as 0,
// so callers check a structure's range once with slice() and then read its fields freely.
class ByteView {
public:
    ByteView() = default;
    explicit ByteView(std::string_view bytes)
        : bytes_(bytes)
    {
    }

    std::string_view bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

    // Whether length bytes from offset lie within the buffer, without overflow.
    bool has(std::uint64_t offset, std::uint64_t length) const
    {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    std::optional<ByteView> slice(std::uint64_t offset, std::uint64_t length) const
    {
        if (!has(offset, length))
            return std::nullopt;
        return ByteView(bytes_.substr(std::size_t(offset), std::size_t(length)));
    }

    std::uint8_t u8(std::uint64_t offset) const { return has(offset, 1) ? std::uint8_t(bytes_[offset]) : 0; }
    std::uint16_t u16(std::uint64_t offset) const { return std::uint16_t(u8(offset) | u8(offset + 1) << 8); }
    std::uint32_t u32(std::uint64_t offset) const { return u16(offset) | std::uint32_t(u16(offset + 2)) << 16; }
    std::int32_t s32(std::uint64_t offset) const { return std::int32_t(u32(offset)); }

private:
    std::string_view bytes_;
};

} // namespace platform
