#include "platform/desktop/XdgDirectories.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using platform::XdgDirectories;

namespace {

TEST(XdgDirectories, ComeFromTheEnvironmentIgnoringRelativePaths)
{
    setenv("HOME", "/home/pat", 1);
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    unsetenv("XDG_CONFIG_DIRS");
    setenv("XDG_DATA_HOME", "/d", 1);
    setenv("XDG_DATA_DIRS", "/x:relative::/y", 1);
    setenv("XDG_CURRENT_DESKTOP", "Lumen:Shared", 1);
    const auto directories = XdgDirectories::FromEnvironment();
    EXPECT_EQ(directories.configHome, "/home/pat/.config");
    EXPECT_EQ(directories.configDirs, std::vector<std::string>{"/etc/xdg"});
    EXPECT_EQ(directories.dataHome, "/d");
    EXPECT_EQ(directories.dataDirs, (std::vector<std::string>{"/x", "/y"}));
    EXPECT_EQ(directories.desktops, (std::vector<std::string>{"lumen", "shared"}));
    EXPECT_EQ(platform::ApplicationFolders(directories),
              (std::vector<std::string>{"/d/applications", "/x/applications", "/y/applications"}));
}

// Ids name the path below the folder with '/' as '-'; an id of an earlier folder hides the
// same id in later ones; only regular .desktop files count.
TEST(XdgDirectories, InstalledDesktopFilesByIdFirstFolderWins)
{
    QTemporaryDir temporary;
    const std::string a = temporary.filePath("a").toStdString(), b = temporary.filePath("b").toStdString();
    for (const std::string& file : {a + "/x.desktop", a + "/vendor/y.desktop", a + "/notes.txt", b + "/x.desktop",
                                    b + "/w.desktop", b + "/vendor-y.desktop"}) {
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file) << "[Desktop Entry]\n";
    }
    std::filesystem::create_directories(b + "/folder.desktop");

    const auto files = platform::InstalledDesktopFiles({a, b, temporary.filePath("missing").toStdString()});
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(
        files[0],
        (platform::DesktopFileIds{{"vendor-y.desktop", a + "/vendor/y.desktop"}, {"x.desktop", a + "/x.desktop"}}));
    EXPECT_EQ(files[1], (platform::DesktopFileIds{{"w.desktop", b + "/w.desktop"}}));
    EXPECT_TRUE(files[2].empty());
}

} // namespace
