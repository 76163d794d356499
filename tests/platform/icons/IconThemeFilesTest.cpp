#include "platform/icons/IconThemeFiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class IconThemeFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string icons = dir.filePath("icons").toStdString();
    std::string pixmaps = dir.filePath("pixmaps").toStdString();

    void Theme(const std::string& name, const std::string& index)
    {
        fs::create_directories(icons + "/" + name);
        std::ofstream(icons + "/" + name + "/index.theme") << index;
    }
    std::string Icon(const std::string& relative)
    {
        const std::string path = icons + "/" + relative;
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path) << "picture";
        return path;
    }
};

TEST_F(IconThemeFilesTest, FindsTheBestFittingFolderThroughTheInheritedThemes)
{
    Theme("Mine",
          "[Icon Theme]\nInherits=Base\nDirectories=16x16/apps,48x48/apps,32x32/apps,scalable/apps,\n"
          "[16x16/apps]\nSize=16\nType=Fixed\n[48x48/apps]\nSize=48\nType=Fixed\n"
          "[32x32/apps]\nSize=32\nType=Fixed\n[scalable/apps]\nSize=64\nMinSize=40\nMaxSize=512\nType=Scalable\n");
    Theme("Base", "[Icon Theme]\nDirectories=22x22/apps\n[22x22/apps]\nSize=22\nThreshold=10\n");
    Theme("hicolor", "[Icon Theme]\nDirectories=128x128/apps\n[128x128/apps]\nSize=128\nType=Fixed\n");
    Icon("Mine/16x16/apps/both.png");
    const std::string both = Icon("Mine/32x32/apps/both.png");
    const std::string near = Icon("Mine/scalable/apps/near.svg");
    Icon("Mine/16x16/apps/near.png");
    const std::string inherited = Icon("Base/22x22/apps/inherited.xpm");
    const std::string last = Icon("hicolor/128x128/apps/last.png");
    fs::create_directories(pixmaps);
    std::ofstream(pixmaps + "/loose.png") << "picture";

    platform::IconThemeFiles files({icons, pixmaps});
    EXPECT_EQ(files.Find("Mine", "both"), both);
    EXPECT_EQ(files.Find("Mine", "near"), near) << "8 pixels from 32 beats 16";
    EXPECT_EQ(files.Find("Mine", "inherited"), inherited) << "within the threshold of 22";
    EXPECT_EQ(files.Find("Mine", "last"), last);
    EXPECT_EQ(files.Find("Mine", "loose"), pixmaps + "/loose.png");
    EXPECT_EQ(files.Find("Mine", "missing"), "");
    EXPECT_EQ(files.Find("Mine", "../Mine/16x16/apps/both"), "");
    EXPECT_EQ(files.Find("Absent", "last"), last);
}

} // namespace
