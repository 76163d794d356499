#include "platform/desktop/DesktopEntry.h"

#include "platform/files/FileContent.h"

#include <string_view>

namespace platform {

namespace {

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
        if (quote == '"' && c == '\\' && std::string_view("\"`$\\").find(next) != std::string_view::npos) {
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

DesktopEntry::DesktopEntry(std::string path, KeyGroup keys) : path_(std::move(path)), keys_(std::move(keys)) {}

std::optional<DesktopEntry> DesktopEntry::Read(const std::string& path)
{
    const auto content = ReadFileContent(path);
    if (!content)
        return std::nullopt;
    auto file = ParseKeyFile(*content);
    return DesktopEntry(path, std::move(file["Desktop Entry"]));
}

std::string DesktopEntry::value(const std::string& key) const
{
    const auto found = keys_.find(key);
    return found == keys_.end() ? std::string() : found->second;
}

std::optional<ExecCommand> ExpandExec(const DesktopEntry& entry, const std::string& file)
{
    const auto split = SplitCommandLine(entry.value("Exec"));
    if (!split)
        return std::nullopt;
    ExecCommand command;
    for (const std::string& argument : *split) {
        if (argument == "%i") {
            if (const std::string icon = entry.value("Icon"); !icon.empty())
                command.arguments.insert(command.arguments.end(), {"--icon", icon});
            continue;
        }
        std::string expanded;
        for (std::size_t i = 0; i < argument.size(); ++i) {
            if (argument[i] != '%' || i + 1 == argument.size()) {
                expanded += argument[i];
                continue;
            }
            switch (argument[++i]) {
            case '%': expanded += '%'; break;
            case 'f':
            case 'F':
            case 'u':
            case 'U':
                command.takesFile = true;
                expanded += file;
                break;
            case 'c': expanded += entry.value("Name"); break;
            case 'k': expanded += entry.path(); break;
            default: break; // deprecated and unknown codes are dropped
            }
        }
        if (!expanded.empty() || argument.empty())
            command.arguments.push_back(std::move(expanded));
    }
    if (command.arguments.empty())
        return std::nullopt;
    return command;
}

} // namespace platform
