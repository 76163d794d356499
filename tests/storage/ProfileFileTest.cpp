#include "storage/ProfileFile.h"

#include "doubles/Files.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <thread>

#include <sys/stat.h>

namespace {

const std::string LongValue(2000, 'x');

// A settings file as a user might leave it after editing it by hand: a comment, blank lines,
// an unknown section, blanks around names and '=', LF-only lines, a line far beyond the read
// buffer, bytes outside ASCII, values holding '=', and no line end after the last line. One
// line of the file per line here:
// clang-format off
const std::string HandEdited = "; Stackle settings, kept by hand\r\n"
                               "\r\n"
                               "[TABS]\r\n"
                               "Visible \t=  False\r\n"
                               "  Tab0=Work  \r\n"
                               "Tab2 =\t\r\n"
                               "\r\n"
                               "[Custom]\n"
                               "Blob=" + LongValue + "\n"
                               "Name=Caf\xe9 \xc3\xa9\n"
                               "\n"
                               "[ Notes ]\r\n"
                               "Note1 = a=b = c\r\n"
                               ";Note2=commented out\r\n"
                               "\r\n"
                               "[EXE]\r\n"
                               "EXE1=C:\\Tools\\x.exe";
// clang-format on

// HandEdited with its only occurrence of from replaced by to.
std::string Edited(const std::string& from, const std::string& to)
{
    std::string text = HandEdited;
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

std::size_t EntryCount(const std::string& dir)
{
    return std::distance(std::filesystem::directory_iterator(dir), {});
}

// Which file is at path and when its content last changed: another file, or the same one
// written again, gives another answer.
std::pair<ino_t, std::int64_t> Identity(const std::string& path)
{
    struct stat status {};
    stat(path.c_str(), &status);
    return {status.st_ino, std::int64_t(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

struct ReadCase {
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

void PrintTo(const ReadCase& c, std::ostream* out)
{
    *out << '[' << c.section << "] " << c.key;
}

class ProfileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsValueInHandEditedFile)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(profile::FindValue(HandEdited, c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    testing::Values(ReadCase{"TABS", "Visible", "False"}, ReadCase{"tabs", "VISIBLE", "False"},
                    ReadCase{"TABS", "Tab0", "Work"}, ReadCase{"TABS", "Tab2", ""},
                    ReadCase{"TABS", "Tab1", std::nullopt}, ReadCase{"Custom", "Blob", std::string(1023, 'x')},
                    ReadCase{"Custom", "Name", "Caf\xe9 \xc3\xa9"}, ReadCase{"notes", "Note1", "a=b = c"},
                    ReadCase{"Notes", "Note2", std::nullopt}, ReadCase{"EXE", "EXE1", "C:\\Tools\\x.exe"},
                    ReadCase{"EXE", "Visible", std::nullopt}, ReadCase{"Help", "Visible", std::nullopt}));

// A name may head several sections: a key's value is its first line in any of them, in the
// order of the file, and lines before the first heading belong to no section. The file is read
// the way a start-up reads it, and must give what the text gives.
TEST(ProfileSections, ValueComesFromTheFirstLineOfTheKeyInSectionsOfThatName)
{
    const std::string text = "Tab0=before any section\r\n"
                             "[TABS]\r\nTab0=first\r\n"
                             "[EXE]\r\nTab1=not a tab\r\n"
                             "[tabs]\r\nTab0=second\r\nTab1=only in the second\r\n"
                             "[ TABS \r\nTab2=heading without its bracket\r\n";
    QTemporaryDir dir;
    const std::string path = dir.filePath("FILE.INI").toStdString();
    doubles::WriteFile(path, text);
    const ReadCase cases[] = {{"TABS", "Tab0", "first"},
                              {"TABS", "Tab1", "only in the second"},
                              {"TABS", "Tab2", "heading without its bracket"},
                              {"EXE", "Tab0", std::nullopt},
                              {"Format", "Tab0", std::nullopt}};
    for (const ReadCase& c : cases) {
        EXPECT_EQ(profile::FindValue(text, c.section, c.key), c.expected) << c.section << ' ' << c.key;
        EXPECT_EQ(profile::ReadString(c.section, c.key, "<none>", path), c.expected.value_or("<none>"))
            << c.section << ' ' << c.key;
    }
}

// A heading with a blank name, or one that leaves its bracket open or holds more than its name,
// is a section like any other: its keys belong to it, those of the sections around it read as
// usual, and a write leaves the line as it was.
TEST(ProfileSections, OddHeadingsOpenSectionsOfTheirOwn)
{
    struct Heading {
        std::string line;
        std::optional<std::string> keyBelowIt; // TABS Tab1, which follows the heading
    };
    const Heading headings[] = {{"[]", std::nullopt},         {"[ ]", std::nullopt},
                                {"[", std::nullopt},          {"[\t]", std::nullopt},
                                {" [ ] ", std::nullopt},      {"[ TABS", "below"},
                                {"[TABS] and more", "below"}, {std::string("[\0]", 3), std::nullopt},
                                {"[]TABS]", std::nullopt}};
    for (const Heading& heading : headings) {
        const std::string before = "[TABS]\r\nTab0=before\r\n" + heading.line + "\r\n";
        const std::string after = "Tab1=below\r\n[EXE]\r\nXPos=10\r\n";
        const std::string text = before + after;
        EXPECT_EQ(profile::FindValue(text, "TABS", "Tab0"), "before") << heading.line;
        EXPECT_EQ(profile::FindValue(text, "TABS", "Tab1"), heading.keyBelowIt) << heading.line;
        EXPECT_EQ(profile::FindValue(text, "EXE", "XPos"), "10") << heading.line;
        EXPECT_EQ(profile::WithValue(text, "EXE", "XPos", "20"), before + "Tab1=below\r\n[EXE]\r\nXPos=20\r\n")
            << heading.line;
        EXPECT_EQ(profile::WithValue(text, "TABS", "Tab2", "new"),
                  "[TABS]\r\nTab0=before\r\nTab2=new\r\n" + heading.line + "\r\n" + after)
            << heading.line;
    }
}

struct WriteCase {
    const char* section;
    const char* key;
    const char* value;
    std::string expected;
};

void PrintTo(const WriteCase& c, std::ostream* out)
{
    *out << '[' << c.section << "] " << c.key << '=' << c.value;
}

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

// Only the written line may change; every other byte of the file stays as it was.
TEST_P(ProfileWrite, ChangesOnlyTheWrittenLine)
{
    const WriteCase& c = GetParam();
    const std::string written = profile::WithValue(HandEdited, c.section, c.key, c.value);
    EXPECT_EQ(written, c.expected);
    EXPECT_EQ(profile::FindValue(written, c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWrite,
    testing::Values(
        // Existing keys: their line is replaced, whatever its spacing, case or line end.
        WriteCase{"TABS", "Visible", "True", Edited("Visible \t=  False\r\n", "Visible=True\r\n")},
        WriteCase{"tabs", "visible", "False", Edited("Visible \t=  False\r\n", "Visible=False\r\n")},
        WriteCase{"Custom", "Blob", "short", Edited("Blob=" + LongValue + "\n", "Blob=short\r\n")},
        WriteCase{"Notes", "Note1", "x=y", Edited("Note1 = a=b = c\r\n", "Note1=x=y\r\n")},
        WriteCase{"EXE", "EXE1", "D:\\y.exe", Edited("EXE1=C:\\Tools\\x.exe", "EXE1=D:\\y.exe\r\n")},
        // New keys go after the last non-blank line of their section.
        WriteCase{"TABS", "Tab1", "Home", Edited("Tab2 =\t\r\n", "Tab2 =\t\r\nTab1=Home\r\n")},
        WriteCase{"Custom", "Other", "1", Edited("\xc3\xa9\n", "\xc3\xa9\nOther=1\r\n")},
        WriteCase{"Notes", "Note3", "n", Edited(";Note2=commented out\r\n", ";Note2=commented out\r\nNote3=n\r\n")},
        WriteCase{"EXE", "EXE2", "", Edited("x.exe", "x.exe\r\nEXE2=\r\n")},
        // A new section goes to the end of the file, after a line end for the last line.
        WriteCase{"Help", "Visible", "0", HandEdited + "\r\n[Help]\r\nVisible=0\r\n"}));

class ProfileFile : public testing::Test {
protected:
    QTemporaryDir dir_;
    std::string path_ = dir_.filePath("FILE.INI").toStdString();
};

TEST_F(ProfileFile, FirstWritesCreateTheFileInCrLfLines)
{
    ASSERT_TRUE(profile::WriteString("Help", "Visible", "0", path_));
    ASSERT_TRUE(profile::WriteString("Format", "Style", "1", path_));
    EXPECT_EQ(doubles::ReadFile(path_), "[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n");
    ASSERT_TRUE(profile::WriteString("help", "VISIBLE", "0", path_));
    EXPECT_EQ(doubles::ReadFile(path_), "[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n");
}

TEST_F(ProfileFile, ReadGivesFallbackOnlyForWhatIsMissing)
{
    EXPECT_EQ(profile::ReadString("EXE", "EXE1", "none", path_), "none"); // no file
    EXPECT_EQ(profile::ReadString("EXE", "EXE1", "none", dir_.path().toStdString()), "none");
    doubles::WriteFile(path_, "[EXE]\r\nEXE1=\r\nParam1=1\r\n");
    EXPECT_EQ(profile::ReadString("EXE", "EXE1", "none", path_), "");
    EXPECT_EQ(profile::ReadString("EXE", "EXE2", "none", path_), "none");
    EXPECT_EQ(profile::ReadString("TABS", "EXE1", "none", path_), "none");
}

TEST_F(ProfileFile, WriteKeepsHandEditedFileAndLeavesNoOtherFile)
{
    doubles::WriteFile(path_, HandEdited);
    ASSERT_TRUE(profile::WriteString("Notes", "Note1", "x=y", path_));
    EXPECT_EQ(doubles::ReadFile(path_), Edited("Note1 = a=b = c\r\n", "Note1=x=y\r\n"));
    EXPECT_EQ(profile::ReadString("Notes", "Note1", "", path_), "x=y");
    EXPECT_EQ(EntryCount(dir_.path().toStdString()), 1u);
}

// A write of the value a key holds already leaves the file alone, byte for byte and as the same
// file, even where a hand put blanks around the key's '='. Only the whole value counts.
TEST_F(ProfileFile, WritingWhatIsStoredLeavesTheFileUntouched)
{
    doubles::WriteFile(path_, HandEdited);
    const auto before = Identity(path_);
    const WriteCase stored[] = {{"TABS", "Visible", "False", ""},
                                {"tabs", "TAB0", "Work", ""},
                                {"TABS", "Tab2", "", ""},
                                {"Notes", "Note1", "a=b = c", ""},
                                {"EXE", "EXE1", "C:\\Tools\\x.exe", ""}};
    for (const WriteCase& c : stored)
        EXPECT_TRUE(profile::WriteString(c.section, c.key, c.value, path_)) << c.key;
    EXPECT_EQ(doubles::ReadFile(path_), HandEdited);
    EXPECT_EQ(Identity(path_), before);

    // The value as a read gives it, cut to the read buffer, is not the value stored.
    ASSERT_TRUE(profile::WriteString("Custom", "Blob", std::string(1023, 'x'), path_));
    EXPECT_EQ(doubles::ReadFile(path_), Edited("Blob=" + LongValue + "\n", "Blob=" + std::string(1023, 'x') + "\r\n"));
    EXPECT_NE(Identity(path_), before);
}

// Reads may use the copy parsed at an earlier read, but only while the file stays the same one:
// changed in place at the same size, replaced by another file of the same size, written through
// the profile or removed, it is read afresh.
TEST_F(ProfileFile, ReadsFollowEveryChangeOfTheFile)
{
    using namespace std::chrono_literals;
    const auto read = [this] { return profile::ReadString("EXE", "EXE1", "<none>", path_); };
    // A file changed just now is read afresh every time: these wait until the file is older.
    const auto settle = [] { std::this_thread::sleep_for(150ms); };

    doubles::WriteFile(path_, "[EXE]\r\nEXE1=/bin/aa\r\n");
    settle();
    EXPECT_EQ(read(), "/bin/aa");
    EXPECT_EQ(read(), "/bin/aa");

    doubles::WriteFile(path_, "[EXE]\r\nEXE1=/bin/bb\r\n");
    EXPECT_EQ(read(), "/bin/bb");
    settle();
    EXPECT_EQ(read(), "/bin/bb");

    doubles::WriteFile(path_ + ".new", "[EXE]\r\nEXE1=/bin/cc\r\n");
    std::filesystem::rename(path_ + ".new", path_);
    EXPECT_EQ(read(), "/bin/cc");
    settle();
    EXPECT_EQ(read(), "/bin/cc");

    ASSERT_TRUE(profile::WriteString("EXE", "EXE1", "/bin/dd", path_));
    EXPECT_EQ(read(), "/bin/dd");
    settle();
    EXPECT_EQ(read(), "/bin/dd");

    std::filesystem::remove(path_);
    EXPECT_EQ(read(), "<none>");
}

TEST_F(ProfileFile, LongValueIsStoredWholeAndReadBackCut)
{
    ASSERT_TRUE(profile::WriteString("Notes", "Note1", LongValue, path_));
    EXPECT_EQ(doubles::ReadFile(path_), "[Notes]\r\nNote1=" + LongValue + "\r\n");
    EXPECT_EQ(profile::ReadString("Notes", "Note1", "", path_), std::string(1023, 'x'));
}

} // namespace
