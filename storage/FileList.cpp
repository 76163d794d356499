#include "storage/FileList.h"

#include "platform/files/FileContent.h"
#include "platform/files/Paths.h"
#include "platform/files/TextLines.h"
#include "platform/text/Ascii.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr std::string_view Separator = "    *";
constexpr std::size_t NamePartLength = 12; // characters, not bytes

// The first count characters of UTF-8 text, never cutting a character in half.
std::string_view FirstCharacters(std::string_view text, std::size_t count)
{
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size() && characters < count; ++characters) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    return text.substr(0, end);
}

} // namespace

std::string FileListPath(const std::string& programDirectory, int slot)
{
    return programDirectory + "flist" + std::to_string(slot) + ".dll";
}

std::string FileListLine(std::string_view fullPath)
{
    if (fullPath.find_first_of("\r\n") != std::string_view::npos)
        throw std::invalid_argument("A file whose name holds a line break cannot be added to a pop-up list");
    const std::string name = platform::FileNamePart(fullPath);
    std::string line(FirstCharacters(name, NamePartLength));
    line += Separator;
    line += fullPath;
    return line;
}

std::string FileListLinePath(std::string_view line)
{
    const auto star = line.find('*');
    return std::string(star == std::string_view::npos ? line : line.substr(star + 1));
}

std::string FileListLineName(std::string_view line)
{
    const auto star = line.find('*');
    if (star == std::string_view::npos)
        return std::string(line);
    const std::size_t blanks = Separator.size() - 1;
    const std::size_t end = star >= blanks && line.substr(star - blanks, blanks) == Separator.substr(0, blanks)
        ? star - blanks
        : star;
    return std::string(line.substr(0, end));
}

bool FileListLineLess(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(platform::AsciiLower(x))
            < static_cast<unsigned char>(platform::AsciiLower(y));
    });
}

bool TFileList::LoadFromFile(const std::string& path)
{
    lines_.clear();
    const auto content = platform::ReadFileContent(path);
    if (!content)
        return false;
    for (const platform::TextLine& line : platform::SplitLines(*content))
        lines_.emplace_back(line.in(*content));
    std::stable_sort(lines_.begin(), lines_.end(), FileListLineLess);
    return true;
}

void TFileList::SaveToFile(const std::string& path) const
{
    std::string content;
    for (const std::string& line : lines_) {
        content += line;
        content += "\r\n";
    }
    if (!platform::ReplaceFileContent(path, content))
        throw std::runtime_error("Cannot create file " + path);
}

void TFileList::Add(std::string line)
{
    const auto place = std::upper_bound(lines_.begin(), lines_.end(), line, FileListLineLess);
    lines_.insert(place, std::move(line));
}

void TFileList::Delete(int index)
{
    if (index >= 0 && index < Count())
        lines_.erase(lines_.begin() + index);
}
