#include "IconBytes.h"

#include "platform/icons/IconImage.h"
#include "platform/icons/IconTheme.h"
#include "platform/icons/LinuxIcons.h"

#include "doubles/Files.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

using namespace icontest;
namespace fs = std::filesystem;

namespace {

class LinuxIcons : public testing::Test {
protected:
    QTemporaryDir temporary;
    const std::string root = temporary.path().toStdString();
    const QImage ownIcon = WideImage(kBlue);
    int ownIconLoads = 0;
    platform::LinuxIcons icons{[this] {
        ++ownIconLoads;
        return ownIcon;
    }};

    static QImage WideImage(QRgb colour)
    {
        QImage image(48, 24, QImage::Format_ARGB32);
        image.fill(colour);
        return image;
    }

    std::string Write(const std::string& relative, const std::string& bytes, bool executable = false)
    {
        const std::string path = root + "/" + relative;
        fs::create_directories(fs::path(path).parent_path());
        doubles::WriteFile(path, bytes);
        if (executable)
            fs::permissions(path, fs::perms::owner_exec, fs::perm_options::add);
        return path;
    }

    QRgb Centre(const std::string& file, int index = 0) { return icontest::Centre(icons.ExtractIcon(file, index)); }
};

// The content tells icon files and Windows programs, not the name: an icon file holds one icon,
// a program as many as its icon groups.
TEST_F(LinuxIcons, IconFilesAndWindowsProgramsByContent)
{
    const std::string ico = Ico({{32, 24, Dib(32, 24, kRed)}});
    const std::string pe = MakePe({{{32, 24, Dib(32, 24, kRed)}}, {{32, 32, Png(32, 32, kBlue)}}}).bytes;
    for (const std::string& file : {Write("a.ico", ico), Write("icon-without-suffix", ico)}) {
        EXPECT_EQ(Centre(file, 0), kRed) << file;
        EXPECT_EQ(Centre(file, 1), 0u) << file;
    }
    for (const std::string& file : {Write("p.exe", pe), Write("P.DLL", pe), Write("program.bin", pe)}) {
        EXPECT_EQ(Centre(file, 0), kRed) << file;
        EXPECT_EQ(Centre(file, 1), kBlue) << file;
        EXPECT_EQ(Centre(file, 2), 0u) << file;
    }
    EXPECT_EQ(Centre(Write("broken.exe", "MZ but nothing else")), 0u);
    EXPECT_EQ(Centre(Write("really-a-png.ico", Png(32, 32, kGreen))), kGreen);
}

TEST_F(LinuxIcons, AnIconFileIsReadAfreshWhenItChanges)
{
    const std::string file = Write("slot.ico", Ico({{32, 32, Dib(32, 32, kRed)}}));
    EXPECT_EQ(Centre(file), kRed);
    EXPECT_EQ(Centre(file), kRed);
    Write("slot.ico", Ico({{32, 32, Dib(32, 32, kBlue)}, {16, 16, Dib(16, 16, kRed)}}));
    EXPECT_EQ(Centre(file), kBlue);
}

TEST_F(LinuxIcons, DesktopFilesShowTheirIconKey)
{
    const std::string picture = Write("pictures/tool.png", Png(32, 32, kGreen));
    EXPECT_EQ(Centre(Write("by-path.desktop", "[Desktop Entry]\nType=Application\nIcon=" + picture + "\n")), kGreen);
    const auto themed = icons.ExtractIcon(Write("themed.desktop", "[Desktop Entry]\nIcon=text-x-generic\n"), 0);
    EXPECT_EQ(themed, platform::ThemeIcon("text-x-generic"));
    // An icon the theme lacks leaves the desktop file's own type icon.
    EXPECT_TRUE(icons.ExtractIcon(Write("unknown.desktop", "[Desktop Entry]\nIcon=no-such-icon-anywhere\n"), 0));
    EXPECT_EQ(Centre(root + "/by-path.desktop", 1), 0u);
}

TEST_F(LinuxIcons, ImageFilesFitKeepingTheirAspect)
{
    const auto icon = icons.ExtractIcon(Write("wide.png", Png(64, 32, kRed)), 0);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), QSize(32, 32));
    EXPECT_EQ(icon->pixel(16, 16), kRed);
    EXPECT_EQ(icon->pixel(16, 8), kRed);
    EXPECT_EQ(qAlpha(icon->pixel(16, 7)), 0);
    EXPECT_EQ(qAlpha(icon->pixel(16, 24)), 0);
}

// A picture shows itself whatever bytes its name holds: names need not be UTF-8 on Linux.
TEST_F(LinuxIcons, PicturesShowThemselvesWhateverTheirNames)
{
    for (const std::string name : {"caf\xe9.png", "\xff\xfe picture.png", "plain.png"}) {
        const std::string file = Write(name, Png(32, 32, kRed));
        const auto icon = icons.ExtractIcon(file, 0);
        fs::remove(file); // by its bytes: the temporary folder cannot remove what it cannot name
        ASSERT_TRUE(icon) << name;
        EXPECT_EQ(icon->pixel(16, 16), kRed) << name;
    }
}

// A named pipe is typed by its name alone: asking for its icon never waits for a writer.
TEST_F(LinuxIcons, ANamedPipeShowsTheIconOfItsNameWithoutBeingRead)
{
    const std::string pipe = root + "/picture.png";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string text = root + "/notes.txt";
    ASSERT_EQ(mkfifo(text.c_str(), 0600), 0);
    icons.ExtractIcon(pipe, 0);
    EXPECT_EQ(icons.ExtractIcon(text, 0).value_or(QImage()).size(), QSize(32, 32));
}

TEST_F(LinuxIcons, OtherFilesShowTheirTypeIcon)
{
    const std::string text = Write("notes.txt", "some words\n");
    EXPECT_EQ(icons.ExtractIcon(text, 0).value_or(QImage()).size(), QSize(32, 32));
    EXPECT_FALSE(icons.ExtractIcon(text, 1));
    EXPECT_TRUE(icons.ExtractIcon(Write("data.bin", std::string("\x01\x02\x03\xff", 4)), 0));
    EXPECT_TRUE(icons.ExtractIcon(root, 0)) << "a folder";
    EXPECT_FALSE(icons.ExtractIcon(root + "/missing.txt", 0));
    EXPECT_FALSE(icons.ExtractIcon("", 0));
}

// The program's own icon is loaded only when its file is first asked about, and only once.
TEST_F(LinuxIcons, TheProgramItselfShowsItsOwnIcon)
{
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    EXPECT_TRUE(icons.ExtractIcon(Write("notes.txt", "some words\n"), 0));
    EXPECT_EQ(ownIconLoads, 0);
    const auto icon = icons.ExtractIcon(self, 0);
    ASSERT_TRUE(icon);
    EXPECT_EQ(*icon, platform::FitIconSquare(ownIcon));
    EXPECT_FALSE(icons.ExtractIcon(self, 1));
    EXPECT_EQ(icons.ExtractIcon(self, 0), icon);
    EXPECT_EQ(ownIconLoads, 1);
}

// A program shows the icon of the installed application that starts it, by path or by a name
// found on PATH; else the theme's generic program icon.
TEST_F(LinuxIcons, ProgramsShowTheIconOfTheirApplication)
{
    const QByteArray oldData = qgetenv("XDG_DATA_HOME"), oldPath = qgetenv("PATH");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(root + "/data"));
    qputenv("PATH", QByteArray::fromStdString(root + "/bin:") + oldPath);
    const std::string byPath = Write("bin/by-path", "#!/bin/sh\n", true);
    const std::string byName = Write("bin/by-name", "#!/bin/sh\n", true);
    const std::string offPath = Write("elsewhere/by-name", "#!/bin/sh\n", true);
    const std::string alone = Write("bin/alone", "#!/bin/sh\n", true);
    const std::string plain = Write("bin/not-executable", "#!/bin/sh\n");
    const std::string green = Write("green.png", Png(32, 32, kGreen)), blue = Write("blue.png", Png(32, 32, kBlue));
    Write("data/applications/a.desktop",
          "[Desktop Entry]\nType=Application\nExec=\"" + byPath + "\" %f\nIcon=" + green + "\n");
    Write("data/applications/b.desktop", "[Desktop Entry]\nType=Application\nExec=by-name\nIcon=" + blue + "\n");

    EXPECT_EQ(Centre(byPath), kGreen);
    EXPECT_EQ(Centre(byName), kBlue);
    const auto program = platform::ThemeIcon("application-x-executable");
    EXPECT_EQ(icons.ExtractIcon(offPath, 0), program) << "same name, not the file on PATH";
    EXPECT_EQ(icons.ExtractIcon(alone, 0), program);
    EXPECT_NE(icons.ExtractIcon(plain, 0), program);
    EXPECT_TRUE(icons.ExtractIcon(plain, 0));
    // Applications installed meanwhile count.
    Write("data/applications/c.desktop", "[Desktop Entry]\nType=Application\nExec=" + alone + "\nIcon=" + blue + "\n");
    EXPECT_EQ(Centre(alone), kBlue);
    qputenv("XDG_DATA_HOME", oldData);
    qputenv("PATH", oldPath);
}

TEST(IconTheme, FirstInstalledFallbackThemeAndItsGenericIcons)
{
    QTemporaryDir temporary;
    const std::string a = temporary.filePath("a").toStdString(), b = temporary.filePath("b").toStdString();
    EXPECT_EQ(platform::FallbackIconTheme({a, b}), "");
    for (const std::string& theme : {b + "/hicolor", a + "/breeze"}) {
        fs::create_directories(theme);
        std::ofstream(theme + "/index.theme") << "[Icon Theme]\n";
    }
    EXPECT_EQ(platform::FallbackIconTheme({a, b}), "breeze");
    // The theme installed with Stackle's dependencies renders the generic icons.
    for (const char* name : {"text-x-generic", "application-x-executable"})
        EXPECT_FALSE(platform::ThemeIcon(name).value_or(QImage()).isNull()) << name;
    EXPECT_FALSE(platform::ThemeIcon("no-such-icon-anywhere"));
}

} // namespace
