#include "platform/files/FileContent.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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
    EXPECT_EXIT(platform::ReplaceFileContent(path_, "new content", [] { std::_Exit(42); }),
                testing::ExitedWithCode(42), "");
    EXPECT_EXIT(platform::ReplaceFileContent(path_, "new content", [] { std::raise(SIGKILL); }),
                testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(platform::ReadFileContent(path_), old_);
    // Whatever the interrupted writes left behind does not get in the way of the next one.
    ASSERT_TRUE(platform::ReplaceFileContent(path_, "next"));
    EXPECT_EQ(platform::ReadFileContent(path_), "next");
}

TEST_F(FileContent, MissingOrUnusablePaths)
{
    const std::string dir = dir_.path().toStdString();
    EXPECT_EQ(platform::ReadFileContent(dir + "/missing.ini"), std::nullopt);
    EXPECT_EQ(platform::ReadFileContent(dir), std::nullopt);
    EXPECT_FALSE(platform::ReplaceFileContent(dir + "/missing/FILE.INI", "x"));
    EXPECT_FALSE(platform::ReplaceFileContent(path_ + "/FILE.INI", "x")); // parent is a file
    EXPECT_FALSE(platform::ReplaceFileContent(dir, "x"));                  // path is a directory
    EXPECT_EQ(platform::ReadFileContent(path_), old_);
    EXPECT_EQ(EntryCount(dir), 1u);
}

} // namespace
