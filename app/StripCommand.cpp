#include "app/StripCommand.h"

#include <array>
#include <charconv>

namespace {

// Each command by its name on the command line (after "--") and in a request, with the range of
// the number it takes; none when it takes none.
struct CommandName {
    TStripCommand::Kind kind;
    std::string_view name;
    int highest; // 0: no number
    std::string_view what; // what the number names
};
constexpr std::array CommandNames = {
    CommandName{TStripCommand::Kind::Show, "show", 0, ""},
    CommandName{TStripCommand::Kind::Toggle, "toggle", 0, ""},
    CommandName{TStripCommand::Kind::Launch, "launch", 12, "a slot number from 1 to 12"},
    CommandName{TStripCommand::Kind::LaunchAll, "launch-all", 12, "a slot number from 1 to 12"},
    CommandName{TStripCommand::Kind::Group, "group", 3, "a group number from 1 to 3"},
    CommandName{TStripCommand::Kind::Notes, "notes", 0, ""},
};

const CommandName* Named(std::string_view name)
{
    for (const CommandName& command : CommandNames)
        if (command.name == name)
            return &command;
    return nullptr;
}

const CommandName& Of(TStripCommand::Kind kind)
{
    for (const CommandName& command : CommandNames)
        if (command.kind == kind)
            return command;
    return CommandNames.front();
}

// A number from 1 to highest written in decimal digits alone; nothing otherwise.
std::optional<int> Number(std::string_view text, int highest)
{
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || text.front() == '-' || error != std::errc() || end != text.data() + text.size() || number < 1
        || number > highest)
        return std::nullopt;
    return number;
}

TCommandLine Failed(std::string error)
{
    return {TCommandLine::Action::Error, {}, "stackle: " + std::move(error) + " (stackle --help lists the commands)"};
}

} // namespace

TCommandLine ReadCommandLine(const std::vector<std::string_view>& arguments)
{
    TCommandLine line;
    bool given = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!argument.starts_with("--"))
            continue;
        std::string_view name = argument.substr(2);
        std::optional<std::string_view> value;
        if (const std::size_t equals = name.find('='); equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        TCommandLine found;
        if (name == "help" || name == "version") {
            if (value)
                return Failed("--" + std::string(name) + " takes no value");
            found.action = name == "help" ? TCommandLine::Action::Usage : TCommandLine::Action::Version;
        } else if (const CommandName* command = Named(name)) {
            found.action = TCommandLine::Action::Command;
            found.command.kind = command->kind;
            if (command->highest == 0 && value)
                return Failed("--" + std::string(name) + " takes no value");
            if (command->highest > 0) {
                if (!value && i + 1 < arguments.size())
                    value = arguments[++i];
                const std::optional<int> number = value ? Number(*value, command->highest) : std::nullopt;
                if (!number)
                    return Failed("--" + std::string(name) + " needs " + std::string(command->what)
                                  + (value ? ", not \"" + std::string(*value) + "\"" : std::string()));
                found.command.number = *number;
            }
        } else {
            continue; // no command of Stackle's
        }
        if (given)
            return Failed("one command at a time");
        given = true;
        line = found;
    }
    return line;
}

std::string UsageText()
{
    return "Usage: stackle [command]\n"
           "Starts the strip, or acts on the one that runs with the same settings:\n"
           "  --toggle          hide the strip when it is on screen, bring it back otherwise\n"
           "  --show            bring the strip back\n"
           "  --launch N        start slot N (1 to 12) as a click on its button does\n"
           "  --launch-all N    start everything in slot N, as its \"A\" does\n"
           "  --group G         bring the strip back showing group G (1 to 3)\n"
           "  --notes           open the notes window\n"
           "  --help            show this text\n"
           "  --version         show the version\n"
           "A command to a strip that does not run starts one first. Keys for the desktop are set\n"
           "in the [Keys] section of FILE.INI: beside the program, or in ~/.config/stackle/ where\n"
           "the program's folder is read-only.\n";
}

std::string VersionText()
{
    return "Stackle " STACKLE_VERSION "\n";
}

std::string RequestText(const TStripCommand& command)
{
    const CommandName& name = Of(command.kind);
    return std::string(name.name) + (name.highest > 0 ? " " + std::to_string(command.number) : std::string());
}

std::optional<TStripCommand> ParseRequest(std::string_view request)
{
    const std::size_t blank = request.find(' ');
    const CommandName* command = Named(request.substr(0, blank));
    if (!command || (command->highest == 0) != (blank == std::string_view::npos))
        return std::nullopt;
    TStripCommand parsed{command->kind, 0};
    if (command->highest > 0) {
        const std::optional<int> number = Number(request.substr(blank + 1), command->highest);
        if (!number)
            return std::nullopt;
        parsed.number = *number;
    }
    return parsed;
}
