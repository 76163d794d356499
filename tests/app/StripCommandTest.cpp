#include "app/StripCommand.h"

#include <gtest/gtest.h>

namespace {

using Action = TCommandLine::Action;
using Kind = TStripCommand::Kind;

TCommandLine Read(std::vector<std::string_view> arguments)
{
    return ReadCommandLine(arguments);
}

// Arguments Stackle does not know, Qt's own options among them, leave a plain start; a command
// among them counts, with its number given after it or after "=".
TEST(CommandLineTest, CommandsAmongOtherArgumentsAndTheirNumbers)
{
    for (const auto& arguments : std::vector<std::vector<std::string_view>>{
             {}, {"-geometry", "+10+10"}, {"/etc/hostname", "--frobnicate", "-", "--"}, {"launch", "3"}}) {
        const TCommandLine line = Read(arguments);
        EXPECT_EQ(line.action, Action::Start) << (arguments.empty() ? "" : arguments[0]);
    }
    const struct {
        std::vector<std::string_view> arguments;
        TStripCommand command;
    } cases[] = {
        {{"--toggle"}, {Kind::Toggle, 0}},
        {{"-reverse", "--show", "x"}, {Kind::Show, 0}},
        {{"--launch", "12"}, {Kind::Launch, 12}},
        {{"--launch=1"}, {Kind::Launch, 1}},
        {{"--launch-all", "7", "-style", "fusion"}, {Kind::LaunchAll, 7}},
        {{"--group=3"}, {Kind::Group, 3}},
        {{"--notes"}, {Kind::Notes, 0}},
    };
    for (const auto& c : cases) {
        const TCommandLine line = Read(c.arguments);
        EXPECT_EQ(line.action, Action::Command) << c.arguments[0];
        EXPECT_EQ(line.command, c.command) << c.arguments[0];
        // What travels to the running strip is the same command.
        EXPECT_EQ(ParseRequest(RequestText(line.command)), c.command) << c.arguments[0];
    }
    EXPECT_EQ(Read({"--help"}).action, Action::Usage);
    EXPECT_EQ(Read({"--version"}).action, Action::Version);
}

// A command whose number is missing, out of range or no plain number, one with a value it takes
// none of, or two commands at once: one line that says what is wrong, and no command.
TEST(CommandLineTest, BadCommandsAreOneLineOfError)
{
    const std::vector<std::vector<std::string_view>> bad = {{"--launch"},          {"--launch", "0"},
                                                            {"--launch", "13"},    {"--launch", "x"},
                                                            {"--launch", "+3"},    {"--launch", "3x"},
                                                            {"--launch", "-1"},    {"--launch-all=99"},
                                                            {"--group", "4"},      {"--group", "0"},
                                                            {"--toggle=1"},        {"--help=me"},
                                                            {"--show", "--notes"}, {"--launch", "1", "--launch", "2"}};
    for (const auto& arguments : bad) {
        const TCommandLine line = Read(arguments);
        EXPECT_EQ(line.action, Action::Error) << arguments[0] << " " << (arguments.size() > 1 ? arguments[1] : "");
        EXPECT_TRUE(line.error.starts_with("stackle: ")) << line.error;
        EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    }
    EXPECT_NE(Read({"--launch", "13"}).error.find("\"13\""), std::string::npos) << "names what was given";
}

// A request is read as strictly as the command line: another program may write to the socket.
TEST(CommandLineTest, RequestsOtherThanCommandsAreRefused)
{
    EXPECT_EQ(ParseRequest("show"), (TStripCommand{Kind::Show, 0}));
    EXPECT_EQ(ParseRequest("launch-all 12"), (TStripCommand{Kind::LaunchAll, 12}));
    for (const std::string_view request :
         {"", "show 1", "launch", "launch 13", "launch  3", "launch 3 ", "group 4", "--show", "help", "Show"})
        EXPECT_FALSE(ParseRequest(request)) << request;
}

} // namespace
