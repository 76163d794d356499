#include "platform/desktop/TerminalPrograms.h"

#include "doubles/Files.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;

namespace {

// An application entry that runs console-tool, in a terminal or not; both texts are of one size,
// so that a rewrite in place keeps the file's size.
std::string ConsoleToolEntry(bool terminal)
{
    return std::string("[Desktop Entry]\nType=Application\nExec=console-tool %F\nTerminal=")
        + (terminal ? "true \n" : "false\n");
}

class TerminalPrograms : public testing::Test {
protected:
    QTemporaryDir temporary;
    const std::string root = fs::canonical(temporary.path().toStdString()).string();
    const std::string program = root + "/bin/console-tool";
    const std::string savedPath = std::getenv("PATH");

    void SetUp() override
    {
        for (const char* dir : {"bin", "first-bin", "data-sys/applications"})
            fs::create_directories(root + "/" + dir);
        MakeProgram(program);
        // The user's applications folder is not there yet.
        setenv("XDG_DATA_HOME", (root + "/data-home").c_str(), 1);
        setenv("XDG_DATA_DIRS", (root + "/data-sys").c_str(), 1);
        setenv("PATH", (root + "/first-bin:" + root + "/bin").c_str(), 1);
    }

    void TearDown() override { setenv("PATH", savedPath.c_str(), 1); }

    static void MakeProgram(const std::string& path)
    {
        doubles::WriteFile(path, "#!/bin/sh\n");
        fs::permissions(path, fs::perms::owner_all);
    }

    std::string Path(const std::string& relative) const { return root + "/" + relative; }

    bool InTerminal() const
    {
        return platform::IsTerminalProgram(program, platform::XdgDirectories::FromEnvironment());
    }
};

} // namespace

// Each change shows at the very next start, with no pause in between: a new subfolder, whose
// entries' ids carry its name; a rewrite in place of the same size; renames of an entry and of a
// folder; an earlier data folder's entry of the same id, which hides the later one; a removal;
// and a program of the command's name installed earlier in PATH.
TEST_F(TerminalPrograms, EveryChangeOfTheEntriesShowsAtTheNextStart)
{
    const std::string sub = Path("data-sys/applications/sub/console.desktop");
    const std::string user = Path("data-home/applications/sub-console.desktop");
    const auto rewrite = [](const std::string& path, const std::string& text) {
        std::fstream(path, std::ios::in | std::ios::out | std::ios::binary) << text;
    };
    struct Step {
        const char* change;
        std::function<void()> make;
        bool inTerminal;
    };
    const Step steps[] = {
        {"nothing installed", [] {}, false},
        {"entry in a new subfolder",
         [&] {
             fs::create_directories(fs::path(sub).parent_path());
             doubles::WriteFile(sub, ConsoleToolEntry(true));
         },
         true},
        {"rewritten in place", [&] { rewrite(sub, ConsoleToolEntry(false)); }, false},
        {"rewritten back", [&] { rewrite(sub, ConsoleToolEntry(true)); }, true},
        {"same id in the user's new folder",
         [&] {
             fs::create_directories(fs::path(user).parent_path());
             doubles::WriteFile(user, ConsoleToolEntry(false));
         },
         false},
        {"user's entry renamed away", [&] { fs::rename(user, user + ".off"); }, true},
        {"user's entry renamed back", [&] { fs::rename(user + ".off", user); }, false},
        {"subfolder renamed: another id",
         [&] { fs::rename(fs::path(sub).parent_path(), Path("data-sys/applications/other")); }, true},
        {"namesake earlier in PATH", [&] { MakeProgram(Path("first-bin/console-tool")); }, false},
        {"namesake removed", [&] { fs::remove(Path("first-bin/console-tool")); }, true},
        {"entry removed", [&] { fs::remove(Path("data-sys/applications/other/console.desktop")); }, false},
    };
    for (const Step& step : steps) {
        step.make();
        EXPECT_EQ(InTerminal(), step.inTerminal) << step.change;
    }
}
