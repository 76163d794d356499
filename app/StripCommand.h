#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a command, from the command line, a key or a later start, asks of the running strip.
struct TStripCommand {
    enum class Kind {
        Show, // bring the strip back, as a second start does
        Toggle, // "-" when the strip is on screen, a second start otherwise
        Launch, // a left click on slot number's button
        LaunchAll, // a click on slot number's "A"
        Group, // the strip brought back, showing group number
        Notes, // the notes window, as "N" opens it
    };
    Kind kind = Kind::Show;
    int number = 0; // the slot (1 to 12) or the group (1 to 3)

    bool operator==(const TStripCommand&) const = default;
};

// What the program's arguments ask for. Arguments that are no command of Stackle's are passed
// over, so that the strip starts as it does without any.
struct TCommandLine {
    enum class Action {
        Start, // start the strip, or bring back the one that runs
        Command, // hand command to the running strip, starting one when none runs
        Usage, // print the usage on standard output
        Version, // print the version on standard output
        Error, // print error, one line, on standard error
    };
    Action action = Action::Start;
    TStripCommand command;
    std::string error;
};

TCommandLine ReadCommandLine(const std::vector<std::string_view>& arguments);

// The short usage that --help prints, and the line --version prints.
std::string UsageText();
std::string VersionText();

// A command as one line of text, as it travels to the running strip, and back.
std::string RequestText(const TStripCommand& command);
std::optional<TStripCommand> ParseRequest(std::string_view request);
