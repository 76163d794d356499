#include "platform/files/FileContent.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace {

std::size_t EntryCount(const std::string& dir)
{
    return std::distance(std::filesystem::directory_iterator(dir), {});
}

class FileContent : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::ReplaceFileContent(path_, old_)); }

    QTemporaryDir dir_;
    std::string path_ = dir_.filePath("FILE.INI").toStdString();
    const std::string old_ = std::string("[EXE]\r\nEXE1=C:\\a.exe\r\n\0tail", 28);
};

TEST_F(FileContent, ReplacesWholeContentAndLeavesNoOtherFile)
{
    EXPECT_EQ(platform::ReadFileContent(path_), old_);
    ASSERT_TRUE(platform::ReplaceFileContent(path_, "short"));
    EXPECT_EQ(platform::ReadFileContent(path_), "short");
    EXPECT_EQ(EntryCount(dir_.path().toStdString()), 1u);
}

// The new bytes must not show under the file's name before they are complete.
TEST_F(FileContent, OldContentStaysVisibleUntilTheNewIsComplete)
{
    std::optional<std::string> seen;
    ASSERT_TRUE(platform::ReplaceFileContent(path_, "new", [&] { seen = platform::ReadFileContent(path_); }));
    EXPECT_EQ(seen, old_);
    EXPECT_EQ(platform::ReadFileContent(path_), "new");
}

// A rename that fails (here because a directory has taken the file's place meanwhile) is
// reported, and the temporary file goes away.
TEST_F(FileContent, FailedRenameIsReported)
{
    EXPECT_FALSE(platform::ReplaceFileContent(path_, "new", [&] {
        std::filesystem::remove(path_);
        std::filesystem::create_directories(path_ + "/sub");
    }));
    EXPECT_EQ(EntryCount(dir_.path().toStdString()), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(path_ + "/sub"));
}

TEST_F(FileContent, WriteInterruptedBeforeRenameLeavesOldFile)
{
    EXPECT_EXIT(platform::ReplaceFileContent(path_, "new content", [] { std::_Exit(42); }), testing::ExitedWithCode(42),
                "");
    EXPECT_EXIT(platform::ReplaceFileContent(path_, "new content", [] { std::raise(SIGKILL); }),
                testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(platform::ReadFileContent(path_), old_);
    // Whatever the interrupted writes left behind does not get in the way of the next one.
    ASSERT_TRUE(platform::ReplaceFileContent(path_, "next"));
    EXPECT_EQ(platform::ReadFileContent(path_), "next");
}

// A replaced file keeps its permissions, a new one gets what the umask allows, and a link keeps
// naming the file, which is the one replaced.
TEST_F(FileContent, ReplacementKeepsPermissionsAndLinks)
{
    namespace fs = std::filesystem;
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(platform::ReplaceFileContent(path_, "new"));
    EXPECT_EQ(fs::status(path_).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    const mode_t saved = umask(022);
    const std::string created = dir_.filePath("flist1.dll").toStdString();
    ASSERT_TRUE(platform::ReplaceFileContent(created, ""));
    umask(saved);
    EXPECT_EQ(fs::status(created).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);

    const std::string link = dir_.filePath("link.ini").toStdString();
    fs::create_symlink(path_, link);
    ASSERT_TRUE(platform::ReplaceFileContent(link, "through the link"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(platform::ReadFileContent(path_), "through the link");
}

// What killed writes leave behind is removed for the files named, and nothing else is.
TEST_F(FileContent, LeftoversOfKilledWritesAreRemoved)
{
    const std::string dir = dir_.path().toStdString() + "/";
    EXPECT_EXIT(platform::ReplaceFileContent(path_, "new content", [] { std::raise(SIGKILL); }),
                testing::KilledBySignal(SIGKILL), "");
    for (const char* name : {"flist1.dll.stackle-a1B2c3", "FILE.INI.backup", "FILE.INI.stackle-backups",
                             "notes.txt.stackle-a1B2c3", "FILE.INI.stackle-a1B2c"})
        std::ofstream(dir + name) << "kept?";
    std::filesystem::create_directory(dir + "flist2.dll.stackle-Zz9Zz9");
    ASSERT_EQ(EntryCount(dir), 8u);

    platform::RemoveReplacementLeftovers(dir, {"FILE.INI", "flist1.dll", "flist2.dll"});
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(
        left,
        (std::vector<std::string>{"FILE.INI", "FILE.INI.backup", "FILE.INI.stackle-a1B2c", "FILE.INI.stackle-backups",
                                  "flist2.dll.stackle-Zz9Zz9", "notes.txt.stackle-a1B2c3"}));
}

TEST_F(FileContent, MissingOrUnusablePaths)
{
    const std::string dir = dir_.path().toStdString();
    EXPECT_EQ(platform::ReadFileContent(dir + "/missing.ini"), std::nullopt);
    EXPECT_EQ(platform::ReadFileContent(dir), std::nullopt);
    EXPECT_FALSE(platform::ReplaceFileContent(dir + "/missing/FILE.INI", "x"));
    EXPECT_FALSE(platform::ReplaceFileContent(path_ + "/FILE.INI", "x")); // parent is a file
    EXPECT_FALSE(platform::ReplaceFileContent(dir, "x")); // path is a directory
    EXPECT_EQ(platform::ReadFileContent(path_), old_);
    EXPECT_EQ(EntryCount(dir), 1u);
}

} // namespace
