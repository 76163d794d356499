#include "storage/FileList.h"

#include "platform/files/FileContent.h"
#include "platform/files/TextLines.h"

#include <QList>
#include <QString>

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

// The name part a path gives its list line.
std::string_view NamePart(std::string_view fullPath)
{
    const auto slash = fullPath.rfind('/');
    return FirstCharacters(slash == std::string_view::npos ? fullPath : fullPath.substr(slash + 1), NamePartLength);
}

} // namespace

std::string FileListPath(const std::string& dataDirectory, int slot)
{
    return dataDirectory + "flist" + std::to_string(slot) + ".dll";
}

std::optional<std::string> ReadFileListBytes(const std::string& path)
{
    return platform::ReadFileContent(path);
}

std::string FileListLine(std::string_view fullPath)
{
    if (fullPath.find_first_of("\r\n") != std::string_view::npos)
        throw std::invalid_argument("A file whose name holds a line break cannot be added to a pop-up list");
    std::string line(NamePart(fullPath));
    line += Separator;
    line += fullPath;
    return line;
}

namespace {

// Where a line's name part ends and its path begins.
struct LineParts {
    std::size_t nameEnd;
    std::size_t pathBegin;
};

// A line is its name part, the separator and the path, and the path is everything after the
// first star. A file name may hold a star itself, though: then the separator is the first one
// after which the path's own name part matches the text before it. Every line without such a
// match reads as lines always have.
LineParts Parts(std::string_view line)
{
    for (auto at = line.find(Separator); at != std::string_view::npos; at = line.find(Separator, at + 1))
        if (line.substr(0, at) == NamePart(line.substr(at + Separator.size())))
            return {at, at + Separator.size()};
    const auto star = line.find('*');
    if (star == std::string_view::npos)
        return {line.size(), 0};
    const std::size_t blanks = Separator.size() - 1;
    const bool separated = star >= blanks && line.substr(star - blanks, blanks) == Separator.substr(0, blanks);
    return {separated ? star - blanks : star, star + 1};
}

// The key of the list order: the line's characters, case folded.
std::u32string FileListSortKey(std::string_view line)
{
    const QList<uint> points = QString::fromUtf8(line.data(), qsizetype(line.size())).toCaseFolded().toUcs4();
    return std::u32string(points.begin(), points.end());
}

} // namespace

std::string FileListLinePath(std::string_view line)
{
    return std::string(line.substr(Parts(line).pathBegin));
}

std::string FileListLineName(std::string_view line)
{
    return std::string(line.substr(0, Parts(line).nameEnd));
}

bool FileListLineLess(std::string_view a, std::string_view b)
{
    return FileListSortKey(a) < FileListSortKey(b);
}

bool TFileList::LoadFromFile(const std::string& path)
{
    const auto content = ReadFileListBytes(path);
    LoadFromBytes(content.value_or(std::string()));
    return content.has_value();
}

void TFileList::LoadFromBytes(std::string_view bytes)
{
    lines_.clear();
    std::vector<std::pair<std::u32string, std::string>> keyed;
    for (const platform::TextLine& line : platform::SplitLines(bytes))
        keyed.emplace_back(FileListSortKey(line.in(bytes)), line.in(bytes));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    lines_.reserve(keyed.size());
    for (auto& [key, line] : keyed)
        lines_.push_back(std::move(line));
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
    const std::u32string key = FileListSortKey(line);
    const auto place =
        std::upper_bound(lines_.begin(), lines_.end(), key,
                         [](const std::u32string& k, const std::string& other) { return k < FileListSortKey(other); });
    lines_.insert(place, std::move(line));
}

void TFileList::Delete(int index)
{
    if (index >= 0 && index < Count())
        lines_.erase(lines_.begin() + index);
}
