#include "platform/desktop/DesktopEntry.h"

#include <gtest/gtest.h>

using platform::DesktopEntry;
using platform::ExpandExec;
using platform::ParseKeyFile;
using Arguments = std::vector<std::string>;

namespace {

DesktopEntry Entry(const std::string& text)
{
    return DesktopEntry("/apps/viewer.desktop", ParseKeyFile(text)["Desktop Entry"]);
}

Arguments Expanded(const std::string& exec, const std::string& file, const std::string& more = "")
{
    const auto command = ExpandExec(Entry("[Desktop Entry]\nExec=" + exec + "\n" + more), file);
    EXPECT_TRUE(command) << exec;
    return command ? command->arguments : Arguments{};
}

} // namespace

TEST(KeyFile, ReadsOnlyTheDesktopEntryGroupWithItsFirstValuesUnescaped)
{
    const std::string longName(300, 'n');
    // One line of the file per line here.
    // clang-format off
    const auto entry = Entry("# comment\r\n"
                             "[Desktop Entry]\r\n"
                             "Type = Application\r\n"
                             "Name=" + longName + "\r\n"
                             "Name[de]=Betrachter\r\n"
                             "Name=second\r\n"
                             "Comment=tab\\there\\snow\\\\ \r\n"
                             "\r\n"
                             "[Desktop Action new]\r\n"
                             "Exec=other\r\n");
    // clang-format on
    EXPECT_TRUE(entry.isApplication());
    EXPECT_EQ(entry.value("Name"), longName);
    EXPECT_EQ(entry.value("Comment"), "tab\there now\\");
    EXPECT_EQ(entry.value("Exec"), "");
    EXPECT_EQ(platform::SplitList(" text/plain;a\\;b;;image/png ;"), (Arguments{"text/plain", "a;b", "image/png"}));
}

TEST(ExpandExec, FollowsTheQuotingRulesOfTheExecKey)
{
    // In the file, \\ is one backslash and \s a blank before the quoting rules see them.
    EXPECT_EQ(Expanded(R"("/opt/my\sapp" "two words" "q\\"uote" "\\$HOME" "back\\\\slash" "" 'single one' a\\ b)", ""),
              (Arguments{"/opt/my app", "two words", "q\"uote", "$HOME", "back\\slash", "", "single one", "a b"}));
    EXPECT_EQ(Expanded(R"(app "unescaped \$ and \" too")", ""), (Arguments{"app", "unescaped $ and \" too"}));
    EXPECT_FALSE(ExpandExec(Entry("[Desktop Entry]\nExec=app \"open\n"), ""));
    EXPECT_FALSE(ExpandExec(Entry("[Desktop Entry]\nName=x\n"), ""));
}

TEST(ExpandExec, ReplacesFieldCodes)
{
    const std::string file = "/home/u/my file;$(x).txt";
    for (const char* code : {"%f", "%F", "%u", "%U"}) {
        const auto command = ExpandExec(Entry(std::string("[Desktop Entry]\nExec=app ") + code + " --end"), file);
        ASSERT_TRUE(command);
        EXPECT_EQ(command->arguments, (Arguments{"app", file, "--end"})) << code;
        EXPECT_TRUE(command->takesFile);
        EXPECT_EQ(Expanded(std::string("app ") + code + " --end", ""), (Arguments{"app", "--end"})) << code;
    }
    EXPECT_EQ(Expanded("app --open=%f %% 100%%", "x"), (Arguments{"app", "--open=x", "%", "100%"}));
    EXPECT_EQ(Expanded("app %i %c %k", "", "Icon=eye\nName=Viewer\n"),
              (Arguments{"app", "--icon", "eye", "Viewer", "/apps/viewer.desktop"}));
    EXPECT_EQ(Expanded("app %i %d %D %n %N %v %m -x", "", "Name=Viewer\n"), (Arguments{"app", "-x"}));

    const auto plain = ExpandExec(Entry("[Desktop Entry]\nExec=app"), file);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->arguments, Arguments{"app"});
    EXPECT_FALSE(plain->takesFile);
}
