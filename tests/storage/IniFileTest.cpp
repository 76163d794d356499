#include "storage/IniFile.h"

#include "doubles/Files.h"
#include "doubles/Unprivileged.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <climits>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct IntCase {
    const char* text;
    int expected; // with the fallback -99
};

void PrintTo(const IntCase& c, std::ostream* out)
{
    *out << '"' << c.text << '"';
}

class StrToInt : public testing::TestWithParam<IntCase> {};

TEST_P(StrToInt, ConvertsWholeNumbersOnly)
{
    EXPECT_EQ(StrToIntDef(GetParam().text, -99), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Numbers, StrToInt,
                         testing::Values(IntCase{"0", 0}, IntCase{"42", 42}, IntCase{"-5", -5}, IntCase{"007", 7},
                                         IntCase{"2147483647", INT_MAX}, IntCase{"-2147483648", INT_MIN},
                                         IntCase{"0x1A", 26}, IntCase{"0X1a", 26}, IntCase{"0x20", 32},
                                         IntCase{"0x0", 0}));

INSTANTIATE_TEST_SUITE_P(NotNumbers, StrToInt,
                         testing::Values(IntCase{"", -99}, IntCase{"abc", -99}, IntCase{"12abc", -99},
                                         IntCase{"1.5", -99}, IntCase{"5 ", -99}, IntCase{"-", -99}, IntCase{"+", -99},
                                         IntCase{"--5", -99}, IntCase{"+-5", -99}, IntCase{"0x", -99},
                                         IntCase{"0X", -99}, IntCase{"0xG", -99}, IntCase{"0x-1", -99},
                                         IntCase{"0x1A!", -99}, IntCase{"x1A", -99}, IntCase{"2147483648", -99},
                                         IntCase{"-2147483649", -99}, IntCase{"0x100000000", -99}));

class IniFile : public testing::Test {
protected:
    QTemporaryDir dir_;
    std::string path_ = dir_.filePath("FILE.INI").toStdString();
    TIniFile ini_{path_};
};

TEST_F(IniFile, FirstStartWritesExactlyTwoKeys)
{
    EXPECT_TRUE(ini_.ReadBool("Help", "Visible", true));
    EXPECT_FALSE(fs::exists(path_)); // reading never creates the file
    ini_.WriteBool("Help", "Visible", false);
    EXPECT_EQ(ini_.ReadInteger("Format", "Style", 1), 1);
    ini_.WriteInteger("Format", "Style", 1);
    EXPECT_EQ(doubles::ReadFile(path_), "[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n");
}

TEST_F(IniFile, ReadsIntegersAndBooleans)
{
    doubles::WriteFile(path_,
                       "[EXE]\r\nParam1=0x1\r\nParam2=word\r\nParam3=\r\nParam4=0\r\nParam5=-3\r\n"
                       "XPos=0x20\r\nYPos=-5\r\nBig=2147483648\r\n");
    EXPECT_EQ(ini_.ReadInteger("EXE", "XPos", 0), 32);
    EXPECT_EQ(ini_.ReadInteger("exe", "ypos", 0), -5);
    EXPECT_EQ(ini_.ReadInteger("EXE", "Big", 7), 7);
    EXPECT_EQ(ini_.ReadInteger("EXE", "Param3", 7), 7);
    EXPECT_EQ(ini_.ReadInteger("EXE", "Missing", 7), 7);

    EXPECT_TRUE(ini_.ReadBool("EXE", "Param1", false));
    EXPECT_TRUE(ini_.ReadBool("EXE", "Param5", false));
    EXPECT_FALSE(ini_.ReadBool("EXE", "Param4", true));
    for (const char* key : {"Param2", "Param3", "Missing"}) {
        EXPECT_FALSE(ini_.ReadBool("EXE", key, false)) << key;
        EXPECT_TRUE(ini_.ReadBool("EXE", key, true)) << key;
    }
}

TEST_F(IniFile, WrittenValuesReadBackTheSame)
{
    ini_.WriteInteger("EXE", "XPos", -120);
    ini_.WriteBool("EXE", "Param1", true);
    ini_.WriteString("EXE", "EXE1", "");
    ini_.WriteString("Notes", "Note1", "a = b=c");
    EXPECT_EQ(doubles::ReadFile(path_), "[EXE]\r\nXPos=-120\r\nParam1=1\r\nEXE1=\r\n[Notes]\r\nNote1=a = b=c\r\n");
    EXPECT_EQ(ini_.ReadInteger("EXE", "XPos", 0), -120);
    EXPECT_EQ(ini_.ReadString("EXE", "EXE1", "default"), "");
    EXPECT_EQ(ini_.ReadString("Notes", "Note1", ""), "a = b=c");
}

// Write failures. Root may write anywhere whatever the permission bits say, so when the tests
// run as root the write happens in a child process that gives up its privileges first.
using doubles::Nobody;
using doubles::RunUnprivileged;

enum class Cause {
    ReadOnlyFile,
    ReadOnlyDirectory,
    NewFileInReadOnlyDirectory,
    MissingDirectory,
    ParentIsFile,
    PathIsDirectory
};

// Every file and directory below root with its content, to compare before and after.
std::map<std::string, std::string> Snapshot(const fs::path& root)
{
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        entries[entry.path().string()] = entry.is_directory() ? "<dir>" : doubles::ReadFile(entry.path());
    return entries;
}

// A value, key or section holding a line break would add lines of its own, even sections, to
// the file: such a write fails like any other, and the file stays as it was.
TEST_F(IniFile, LineBreaksAreNeverWrittenIntoTheFile)
{
    const std::string stored = "[EXE]\r\nEXE1=/bin/one\r\nEXE2=/bin/two\r\n";
    doubles::WriteFile(path_, stored);
    const struct {
        std::string section, key, value;
    } writes[] = {{"EXE", "EXE1", "a\r\n[EXE]\r\nEXE2=/bin/x"},
                  {"EXE", "EXE1", "report\nXPos=3000"},
                  {"EXE", "EXE1", "lone\rCR"},
                  {"EXE", "EXE3\n[Tray]", "1"},
                  {"Notes\r\n[EXE]", "EXE2", "x"}};
    for (const auto& write : writes) {
        try {
            ini_.WriteString(write.section, write.key, write.value);
            ADD_FAILURE() << "written: " << write.value;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), "Unable to write to " + path_);
        }
    }
    EXPECT_EQ(doubles::ReadFile(path_), stored);
    EXPECT_EQ(ini_.Read(settings::MainFile(2)), "/bin/two");
}

class UnprivilegedWrite : public testing::Test {
protected:
    void TearDown() override { fs::permissions(dir_, fs::perms::owner_all); } // so it can be removed

    QTemporaryDir tmp_{"/tmp/stackle-ini-XXXXXX"};
    fs::path dir_ = tmp_.path().toStdString();
};

// The same writer, privileges and directory succeed when nothing is in the way.
TEST_F(UnprivilegedWrite, SucceedsWhereNothingIsInTheWay)
{
    if (geteuid() == 0) {
        ASSERT_EQ(chown(dir_.c_str(), Nobody, Nobody), 0);
    }
    chmod(dir_.c_str(), 0755);
    const std::string path = dir_ / "FILE.INI";
    EXPECT_EQ(RunUnprivileged([&] {
                  TIniFile(path).WriteString("Notes", "Note1", "new");
                  return 0;
              }),
              0);
    EXPECT_EQ(doubles::ReadFile(path), "[Notes]\r\nNote1=new\r\n");
}

class WriteFailure : public UnprivilegedWrite, public testing::WithParamInterface<Cause> {
protected:
    static inline const std::string Old = "; kept\r\n[Notes]\nNote1 = old\r\n";

    // Sets up the cause and returns the path to write to, and in writable a path the writer
    // must still be able to write, so that nothing but the cause can make the write fail.
    std::string Prepare(Cause cause, std::string& writable)
    {
        const fs::path ini = dir_ / "FILE.INI";
        doubles::WriteFile(ini, Old);
        chmod(ini.c_str(), 0644);
        chmod(dir_.c_str(), 0755);
        switch (cause) {
        case Cause::ReadOnlyFile:
            chmod(ini.c_str(), 0444);
            chmod(dir_.c_str(), 0777);
            writable = dir_;
            return ini;
        case Cause::ReadOnlyDirectory:
            if (geteuid() == 0) {
                EXPECT_EQ(chown(ini.c_str(), Nobody, Nobody), 0);
            }
            chmod(dir_.c_str(), 0555);
            writable = ini;
            return ini;
        case Cause::NewFileInReadOnlyDirectory: chmod(dir_.c_str(), 0555); return dir_ / "NEW.INI";
        case Cause::MissingDirectory: return dir_ / "missing" / "FILE.INI";
        case Cause::ParentIsFile: return ini / "FILE.INI";
        case Cause::PathIsDirectory: fs::create_directory(dir_ / "DIR.INI"); return dir_ / "DIR.INI";
        }
        return {};
    }
};

TEST_P(WriteFailure, ThrowsAndLeavesEverythingAsItWas)
{
    std::string writable;
    const std::string path = Prepare(GetParam(), writable);
    const auto before = Snapshot(dir_);

    const int code = RunUnprivileged([&] {
        if (access(dir_.c_str(), X_OK) != 0 || (!writable.empty() && access(writable.c_str(), W_OK) != 0))
            return 91;
        try {
            TIniFile(path).WriteString("Notes", "Note1", "new");
        } catch (const std::runtime_error& error) {
            return error.what() == "Unable to write to " + path ? 0 : 2;
        }
        return 1;
    });
    EXPECT_EQ(code, 0) << "1: no error, 2: wrong message, 90: cannot drop privileges, 91: bad setup";
    EXPECT_EQ(Snapshot(dir_), before);
}

const char* CauseText(Cause cause)
{
    static const char* const names[] = {"ReadOnlyFile",     "ReadOnlyDirectory", "NewFileInReadOnlyDirectory",
                                        "MissingDirectory", "ParentIsFile",      "PathIsDirectory"};
    return names[int(cause)];
}

void PrintTo(Cause cause, std::ostream* out)
{
    *out << CauseText(cause);
}

std::string CauseName(const testing::TestParamInfo<Cause>& info)
{
    return CauseText(info.param);
}

INSTANTIATE_TEST_SUITE_P(Causes, WriteFailure,
                         testing::Values(Cause::ReadOnlyFile, Cause::ReadOnlyDirectory,
                                         Cause::NewFileInReadOnlyDirectory, Cause::MissingDirectory,
                                         Cause::ParentIsFile, Cause::PathIsDirectory),
                         CauseName);

} // namespace
