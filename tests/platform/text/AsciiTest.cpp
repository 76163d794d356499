#include "platform/text/Ascii.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Only A to Z change case: accented letters in UTF-8 and every other byte stay as they are.
TEST(Ascii, CaseChangesOnlyAsciiLetters)
{
    struct Case {
        std::string text;
        std::string lower;
        std::string upper;
    };
    const std::vector<Case> cases{
        {"", "", ""},
        {"Program.EXE", "program.exe", "PROGRAM.EXE"},
        {"@[`{ 09_-", "@[`{ 09_-", "@[`{ 09_-"},
        {"Ärger-é.TXT", "Ärger-é.txt", "ÄRGER-é.TXT"},
        {std::string("A\0b\xff", 4), std::string("a\0b\xff", 4), std::string("A\0B\xff", 4)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::AsciiLower(c.text), c.lower) << c.text;
        EXPECT_EQ(platform::AsciiUpper(c.text), c.upper) << c.text;
    }
}

TEST(Ascii, EqualIgnoringAsciiCase)
{
    struct Case {
        std::string a;
        std::string b;
        bool equal;
    };
    const std::vector<Case> cases{
        {"", "", true},
        {"Settings", "sETTINGS", true},
        {"Settings", "Setting", false},
        {"Setting", "Settings", false},
        {"Ärger", "ärger", false},
        {"@", "`", false}, // neighbours of the letters differ by the same bit as their cases
        {"[", "{", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::EqualIgnoringAsciiCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

TEST(Ascii, TrimDropsBlanksAtBothEndsOnly)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", ""}, {" \t\r ", ""}, {"key", "key"}, {"\t key = value \r", "key = value"}, {"\nkey\n", "\nkey\n"},
    };
    for (const auto& [text, trimmed] : cases)
        EXPECT_EQ(platform::Trim(text), trimmed) << text;
}

TEST(Ascii, SplitLeavesOutEmptyParts)
{
    using Parts = std::vector<std::string>;
    const std::vector<std::pair<std::string, Parts>> cases{
        {"", {}},
        {":", {}},
        {"/usr/bin", {"/usr/bin"}},
        {"/usr/bin:/bin", {"/usr/bin", "/bin"}},
        {"::a::b:", {"a", "b"}},
        {" a : b ", {" a ", " b "}},
    };
    for (const auto& [text, parts] : cases)
        EXPECT_EQ(platform::Split(text, ':'), parts) << text;
}

} // namespace
