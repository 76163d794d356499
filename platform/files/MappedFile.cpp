#include "platform/files/MappedFile.h"

#include "platform/files/FileContent.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace platform {

std::optional<MappedFile> MappedFile::Open(const std::string& path)
{
    struct stat status;
    const int fd = OpenRegularFile(path, &status);
    if (fd < 0)
        return std::nullopt;
    std::optional<MappedFile> result;
    const auto size = std::size_t(status.st_size);
    if (size == 0)
        result = MappedFile(nullptr, 0); // mmap refuses an empty range
    else if (void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0); data != MAP_FAILED)
        result = MappedFile(data, size);
    ::close(fd);
    return result;
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr))
    , size_(std::exchange(other.size_, 0))
{
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept
{
    if (this != &other) {
        if (data_)
            ::munmap(data_, size_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

MappedFile::~MappedFile()
{
    if (data_)
        ::munmap(data_, size_);
}

} // namespace platform
