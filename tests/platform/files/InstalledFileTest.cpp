#include "doubles/FakePlatform.h"
#include "doubles/Files.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// A program in <prefix>/bin/ finds what was installed with it beside itself first, and in
// <prefix>/share/stackle/ otherwise.
TEST(InstalledFile, IsBesideTheProgramElseInTheInstallationsSharedFolder)
{
    QTemporaryDir dir;
    const fs::path prefix = dir.path().toStdString();
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "stackle");
    const doubles::FakeProgramLocation location(prefix / "bin" / "stackle");
    const fs::path beside = prefix / "bin" / "empty.ico";
    const fs::path shared = prefix / "share" / "stackle" / "empty.ico";

    EXPECT_EQ(location.InstalledFile("empty.ico"), beside) << "neither is there";
    doubles::WriteFile(shared, "icon");
    EXPECT_EQ(location.InstalledFile("empty.ico"), shared);
    doubles::WriteFile(beside, "icon");
    EXPECT_EQ(location.InstalledFile("empty.ico"), beside);
}

} // namespace
