#include "platform/desktop/DesktopEntry.h"

#include "platform/files/FileContent.h"

#include <string_view>

namespace platform {

namespace {

// The characters a backslash escapes inside double quotes.
constexpr std::string_view ShellQuotedSpecials = "\"`$\\";

// Splits a command line into arguments. Besides double quotes, single quotes and backslashes
// outside quotes work as in a shell, since many desktop files in the wild use them.
std::optional<std::vector<std::string>> SplitCommandLine(std::string_view line)
{
    std::vector<std::string> arguments;
    std::string argument;
    bool inArgument = false;
    char quote = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const char next = i + 1 < line.size() ? line[i + 1] : 0;
        if (quote == '"' && c == '\\' && ShellQuotedSpecials.find(next) != std::string_view::npos) {
            argument += line[++i];
        } else if (quote) {
            if (c == quote)
                quote = 0;
            else
                argument += c;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inArgument)
                arguments.push_back(std::move(argument));
            argument.clear();
            inArgument = false;
        } else {
            inArgument = true;
            if (c == '"' || c == '\'')
                quote = c;
            else if (c == '\\' && next)
                argument += line[++i];
            else
                argument += c;
        }
    }
    if (quote)
        return std::nullopt;
    if (inArgument)
        arguments.push_back(std::move(argument));
    return arguments;
}

} // namespace

DesktopEntry::DesktopEntry(std::string path, KeyGroup keys)
    : path_(std::move(path))
    , keys_(std::move(keys))
{
}

std::optional<DesktopEntry> DesktopEntry::Read(const std::string& path)
{
    const auto content = ReadFileContent(path);
    if (!content)
        return std::nullopt;
    return Parse(path, *content);
}

DesktopEntry DesktopEntry::Parse(const std::string& path, std::string_view content)
{
    return DesktopEntry(path, std::move(ParseKeyFile(content)["Desktop Entry"]));
}

std::string DesktopEntry::value(const std::string& key) const
{
    const auto found = keys_.find(key);
    return found == keys_.end() ? std::string() : found->second;
}

namespace {

// A value put into a command line, quoted so that splitting the line gives it back whole. It is
// single-quoted in the shell's way, so that where it lands inside a quoted argument that a shell
// then reads (sh -c "... %f ..."), that shell sees it quoted too; quote is the quoting in force
// where it lands: none, '"' or '\''.
std::string Quoted(std::string_view value, char quote)
{
    std::string single = "'";
    for (const char c : value)
        single += c == '\'' ? std::string("'\\''") : std::string(1, c);
    single += '\'';
    if (!quote)
        return single;
    std::string escaped;
    for (const char c : single) {
        if (ShellQuotedSpecials.find(c) != std::string_view::npos)
            escaped += '\\';
        escaped += c;
    }
    // Inside single quotes nothing escapes: leave them for a double-quoted piece and come back.
    return quote == '"' ? escaped : "'\"" + escaped + "\"'";
}

} // namespace

std::optional<ExecCommand> ExpandExec(const DesktopEntry& entry, const std::string& file)
{
    const std::string exec = entry.value("Exec");
    ExecCommand command;
    std::string line;
    char quote = 0;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        const char next = i + 1 < exec.size() ? exec[i + 1] : 0;
        if (c == '%' && next) {
            ++i;
            switch (next) {
            case '%': line += '%'; break;
            case 'f':
            case 'F':
            case 'u':
            case 'U':
                command.takesFile = true;
                if (!file.empty())
                    line += Quoted(file, quote);
                break;
            case 'i':
                if (const std::string icon = entry.value("Icon"); !icon.empty())
                    line += Quoted("--icon", quote) + ' ' + Quoted(icon, quote);
                break;
            case 'c': line += Quoted(entry.value("Name"), quote); break;
            case 'k': line += Quoted(entry.path(), quote); break;
            default: break; // deprecated and unknown codes are dropped
            }
            continue;
        }
        line += c;
        if ((c == '\\' && next
             && (!quote || (quote == '"' && ShellQuotedSpecials.find(next) != std::string_view::npos)))) {
            line += exec[++i];
        } else if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        }
    }
    auto arguments = SplitCommandLine(line);
    if (!arguments || arguments->empty())
        return std::nullopt;
    command.arguments = std::move(*arguments);
    return command;
}

} // namespace platform
