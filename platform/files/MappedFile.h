#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The bytes of a regular file, mapped read-only into memory rather than read, so that looking
// into a large program costs only the pages actually touched.
class MappedFile {
public:
    // Nothing when path is no regular file or cannot be opened or mapped.
    static std::optional<MappedFile> Open(const std::string& path);

    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    std::string_view bytes() const { return {static_cast<const char*>(data_), size_}; }

private:
    MappedFile(void* data, std::size_t size)
        : data_(data)
        , size_(size)
    {
    }

    void* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace platform
