#include "storage/DataDirectory.h"

#include "doubles/Files.h"
#include "doubles/Unprivileged.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <map>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using doubles::Nobody;

// A program directory and a home below a fresh temporary folder. The choice is made as an
// unprivileged user, since root may write anywhere; when the tests run as root, that user is
// "nobody", and the folders it is to write are given to it.
class DataDirectoryChoice : public testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(program_);
        fs::create_directories(home_);
        fs::permissions(root_, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
        GiveAway(program_);
        GiveAway(home_);
    }

    // Everything writable again, so that the temporary folder can be removed.
    void TearDown() override
    {
        for (const auto& entry : fs::recursive_directory_iterator(root_))
            if (entry.is_directory())
                fs::permissions(entry.path(), fs::perms::all);
    }

    void GiveAway(const fs::path& path)
    {
        if (geteuid() == 0) {
            ASSERT_EQ(chown(path.c_str(), Nobody, Nobody), 0);
        }
    }
    static void ReadOnly(const fs::path& directory)
    {
        fs::permissions(
            directory, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read | fs::perms::others_exec);
    }

    // "program" or "user": the folder the unprivileged user is given.
    std::string Choose() const
    {
        const std::string program = program_.string() + "/";
        const std::string user = (config_ / "stackle").string() + "/";
        const int code = doubles::RunUnprivileged([&] {
            const std::string chosen = ChooseDataDirectory(program, user);
            return chosen == program ? 10 : chosen == user ? 11 : 12;
        });
        return code == 10 ? "program" : code == 11 ? "user" : "exit code " + std::to_string(code);
    }

    // The files in a folder, with their contents.
    static std::map<std::string, std::string> FilesIn(const fs::path& directory)
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(directory))
            files[entry.path().filename()] = entry.is_directory() ? "<dir>" : doubles::ReadFile(entry.path());
        return files;
    }

    QTemporaryDir tmp_{"/tmp/stackle-data-XXXXXX"};
    fs::path root_ = tmp_.path().toStdString();
    fs::path program_ = root_ / "program";
    fs::path home_ = root_ / "home";
    fs::path config_ = home_ / ".config";
    fs::path user_ = config_ / "stackle";
};

// A read-only settings file in a writable program directory is the program directory's own
// business: its writes fail, as they always have.
TEST_F(DataDirectoryChoice, AWritableProgramDirectoryKeepsTheFiles)
{
    doubles::WriteFile(program_ / "FILE.INI", "[EXE]\r\nParam1=1\r\n");
    fs::permissions(program_ / "FILE.INI", fs::perms::owner_read | fs::perms::others_read);
    EXPECT_EQ(Choose(), "program");
    EXPECT_FALSE(fs::exists(config_));
}

TEST_F(DataDirectoryChoice, AReadOnlyProgramDirectoryGivesTheUserAPrivateFolder)
{
    doubles::WriteFile(program_ / "stackle", "the program");
    ReadOnly(program_);
    EXPECT_EQ(Choose(), "user");
    EXPECT_EQ(FilesIn(home_), (std::map<std::string, std::string>{{".config", "<dir>"}}));
    EXPECT_EQ(FilesIn(config_), (std::map<std::string, std::string>{{"stackle", "<dir>"}}));
    EXPECT_TRUE(FilesIn(user_).empty());
    EXPECT_EQ(fs::status(user_).permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(config_).permissions(), fs::perms::owner_all);
}

// An administrator's defaults: the program's own files in its directory, and only those.
TEST_F(DataDirectoryChoice, TheUsersFolderStartsAsACopyOfTheProgramsOwnFiles)
{
    const std::map<std::string, std::string> defaults{
        {"FILE.INI", "[TABS]\r\nTab0=Tools\r\n"}, {"flist3.dll", "a.txt    */srv/a.txt\r\n"}, {"note2.dat", ""}};
    for (const auto& [name, content] : defaults)
        doubles::WriteFile(program_ / name, content);
    doubles::WriteFile(program_ / "empty.ico", "icon");
    doubles::WriteFile(program_ / "FILE.INI.bak", "old");
    fs::create_directory(config_);
    GiveAway(config_);
    ReadOnly(program_);

    EXPECT_EQ(Choose(), "user");
    EXPECT_EQ(FilesIn(user_), defaults);
    EXPECT_EQ(FilesIn(config_).size(), 1u) << "the folder was filled under another name, which is gone";

    // Made once: what the user changed stays, whatever the defaults say later.
    doubles::WriteFile(user_ / "FILE.INI", "[TABS]\r\nTab0=Mine\r\n");
    fs::remove(user_ / "note2.dat");
    EXPECT_EQ(Choose(), "user");
    EXPECT_EQ(doubles::ReadFile(user_ / "FILE.INI"), "[TABS]\r\nTab0=Mine\r\n");
    EXPECT_FALSE(fs::exists(user_ / "note2.dat"));
}

// Nothing can be stored: the program directory's files are read, or the user's own folder's
// when there is one.
TEST_F(DataDirectoryChoice, NeitherWritableLeavesEverythingAsItIs)
{
    fs::create_directory(config_);
    ReadOnly(program_);
    ReadOnly(config_);
    EXPECT_EQ(Choose(), "program");
    EXPECT_TRUE(FilesIn(config_).empty());

    fs::permissions(config_, fs::perms::owner_all);
    fs::create_directory(user_);
    ReadOnly(user_);
    ReadOnly(config_);
    EXPECT_EQ(Choose(), "user");
}

} // namespace
