#include "storage/ProfileFile.h"

#include "platform/files/FileContent.h"
#include "platform/files/TextLines.h"
#include "platform/text/Ascii.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <vector>

namespace profile {
namespace {

using platform::FileStamp;
using platform::LineAt;
using platform::ReadFileContent;
using platform::ReplaceFileContent;
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

// Where the sections of a profile text lie: each heading's name and the lines up to the next
// heading, in the order of the text. Lines before the first heading belong to no section.
struct SectionSpan {
    std::size_t nameBegin;
    std::size_t nameLength;
    std::size_t begin; // the first line after the heading
    std::size_t end; // where the next heading or the text begins or ends
};

std::vector<SectionSpan> Sections(std::string_view content)
{
    std::vector<SectionSpan> sections;
    for (std::size_t at = 0; at < content.size();) {
        const TextLine line = LineAt(content, at);
        if (const Entry entry = Parse(line.in(content)); entry.kind == Entry::Section) {
            if (!sections.empty())
                sections.back().end = line.begin;
            sections.push_back(
                {std::size_t(entry.name.data() - content.data()), entry.name.size(), line.next, content.size()});
        }
        at = line.next;
    }
    return sections;
}

// The whole value of the key's first line in the sections named section, in the order of the
// text: the profile's value, before it is cut to the read buffer.
std::optional<std::string_view> FindIn(std::string_view content, const std::vector<SectionSpan>& sections,
                                       std::string_view section, std::string_view key)
{
    for (const SectionSpan& candidate : sections) {
        if (!SameName(content.substr(candidate.nameBegin, candidate.nameLength), section))
            continue;
        for (std::size_t at = candidate.begin; at < candidate.end;) {
            const TextLine line = LineAt(content, at);
            if (const Entry entry = Parse(line.in(content)); entry.kind == Entry::Key && SameName(entry.name, key))
                return entry.value;
            at = line.next;
        }
    }
    return std::nullopt;
}

// A profile file's text as it was read, with where its sections lie.
struct ParsedProfile {
    std::string content;
    std::vector<SectionSpan> sections = Sections(content);

    std::optional<std::string_view> Value(std::string_view section, std::string_view key) const
    {
        return FindIn(content, sections, section, key);
    }
};

// The settings file last read, parsed, with its stamp: a start-up reads a dozen values from the
// same unchanged file. It is used again only while the file keeps that stamp, which every access
// checks afresh, and only when the file had not changed just before it was read: a change made
// while it was read could keep the stamp when the file system's clock has not ticked since.
struct LastRead {
    std::string path;
    std::optional<FileStamp> stamp; // none: not to be used again
    ParsedProfile parsed;
};
std::optional<LastRead> lastRead;

// Longer than any file system's clock tick.
constexpr std::int64_t RecentChangeNs = 100'000'000;

std::int64_t RealTimeNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The parsed content of the regular file at path, valid until the next call; nothing when the
// file is missing, unreadable or no regular file.
const ParsedProfile* Load(const std::string& path)
{
    const std::optional<FileStamp> stamp = platform::RegularFileStamp(path);
    if (!stamp)
        return nullptr;
    if (lastRead && lastRead->path == path && lastRead->stamp == stamp)
        return &lastRead->parsed;
    const std::int64_t readingBegan = RealTimeNs();
    FileStamp read;
    std::optional<std::string> content = ReadFileContent(path, &read);
    if (!content)
        return nullptr;
    const bool settled = read.changedNs < readingBegan - RecentChangeNs;
    lastRead.emplace(LastRead{path, settled ? std::optional(read) : std::nullopt, {std::move(*content)}});
    return &lastRead->parsed;
}

} // namespace

std::optional<std::string> FindValue(std::string_view content, std::string_view section, std::string_view key)
{
    const std::optional<std::string_view> value = FindIn(content, Sections(content), section, key);
    if (!value)
        return std::nullopt;
    return std::string(value->substr(0, MaxValueLength));
}

std::string WithValue(std::string_view content, std::string_view section, std::string_view key, std::string_view value)
{
    bool inSection = false;
    bool inFirstSection = false;
    std::optional<TextLine> lastOfFirstSection; // its last line that is not blank: a new key goes after it
    for (std::size_t at = 0; at < content.size();) {
        const TextLine line = LineAt(content, at);
        at = line.next;
        const std::string_view text = line.in(content);
        const Entry entry = Parse(text);
        if (entry.kind == Entry::Section) {
            inSection = SameName(entry.name, section);
            inFirstSection = inSection && !lastOfFirstSection;
            if (inFirstSection)
                lastOfFirstSection = line;
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
            lastOfFirstSection = line;
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
    const ParsedProfile* parsed = Load(path);
    const std::optional<std::string_view> value = parsed ? parsed->Value(section, key) : std::nullopt;
    return std::string(value ? value->substr(0, MaxValueLength) : fallback);
}

bool WriteString(std::string_view section, std::string_view key, std::string_view value, const std::string& path)
{
    for (const std::string_view part : {section, key, value})
        if (part.find_first_of("\r\n") != std::string_view::npos)
            return false;
    const ParsedProfile* parsed = Load(path);
    if (!parsed) {
        std::error_code error;
        if (std::filesystem::exists(path, error) || error)
            return false; // there, but unreadable: never replace what could not be read
    } else if (parsed->Value(section, key) == value) {
        return true; // stored already: the file stays as it is
    }
    // The new file takes another inode, so the copy kept of the old one is not used again.
    return ReplaceFileContent(path, WithValue(parsed ? parsed->content : std::string(), section, key, value));
}

} // namespace profile
