#include "storage/ProfileFile.h"

#include "platform/files/FileContent.h"
#include "platform/files/TextLines.h"
#include "platform/text/Ascii.h"

#include <filesystem>
#include <vector>

namespace profile {
namespace {

using platform::ReadFileContent;
using platform::ReplaceFileContent;
using platform::SplitLines;
using platform::TextLine;
using platform::Trim;

constexpr std::string_view LineEnd = "\r\n";

bool SameName(std::string_view a, std::string_view b)
{
    return platform::EqualIgnoringAsciiCase(a, b);
}

// What a line holds: a section heading, a key with its value, or anything else.
struct Entry {
    enum Kind { Section, Key, Other } kind = Other;
    std::string_view name;
    std::string_view value;
};

Entry Parse(std::string_view line)
{
    const std::string_view text = Trim(line);
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        return {Entry::Section, Trim(text.substr(1, close == std::string_view::npos ? close : close - 1)), {}};
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        return {};
    return {Entry::Key, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

std::string KeyLine(std::string_view key, std::string_view value)
{
    std::string line(key);
    line += '=';
    line += value;
    line += LineEnd;
    return line;
}

} // namespace

std::optional<std::string> FindValue(std::string_view content, std::string_view section,
                                     std::string_view key)
{
    bool inSection = false;
    for (const TextLine& line : SplitLines(content)) {
        const Entry entry = Parse(line.in(content));
        if (entry.kind == Entry::Section)
            inSection = SameName(entry.name, section);
        else if (inSection && entry.kind == Entry::Key && SameName(entry.name, key))
            return std::string(entry.value.substr(0, MaxValueLength));
    }
    return std::nullopt;
}

std::string WithValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value)
{
    const std::vector<TextLine> lines = SplitLines(content);
    bool inSection = false;
    bool inFirstSection = false;
    const TextLine* lastOfFirstSection = nullptr; // its last line that is not blank: a new key goes after it
    for (const TextLine& line : lines) {
        const std::string_view text = line.in(content);
        const Entry entry = Parse(text);
        if (entry.kind == Entry::Section) {
            inSection = SameName(entry.name, section);
            inFirstSection = inSection && !lastOfFirstSection;
            if (inFirstSection)
                lastOfFirstSection = &line;
            continue;
        }
        if (!inSection)
            continue;
        if (entry.kind == Entry::Key && SameName(entry.name, key)) {
            std::string result(content.substr(0, line.begin));
            result += KeyLine(entry.name, value);
            result += content.substr(line.next);
            return result;
        }
        if (inFirstSection && !Trim(text).empty())
            lastOfFirstSection = &line;
    }

    std::string result(content);
    if (lastOfFirstSection) {
        std::string insert = lastOfFirstSection->terminated() ? std::string() : std::string(LineEnd);
        insert += KeyLine(key, value);
        result.insert(lastOfFirstSection->next, insert);
        return result;
    }
    if (!result.empty() && result.back() != '\n' && result.back() != '\r')
        result += LineEnd;
    result += '[';
    result += section;
    result += ']';
    result += LineEnd;
    result += KeyLine(key, value);
    return result;
}

std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                       const std::string& path)
{
    const std::optional<std::string> content = ReadFileContent(path);
    std::optional<std::string> value;
    if (content)
        value = FindValue(*content, section, key);
    return value ? *value : std::string(fallback);
}

bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                 const std::string& path)
{
    for (const std::string_view part : {section, key, value})
        if (part.find_first_of("\r\n") != std::string_view::npos)
            return false;
    std::optional<std::string> content = ReadFileContent(path);
    if (!content) {
        std::error_code error;
        if (std::filesystem::exists(path, error) || error)
            return false; // there, but unreadable: never replace what could not be read
        content.emplace();
    }
    return ReplaceFileContent(path, WithValue(*content, section, key, value));
}

} // namespace profile
