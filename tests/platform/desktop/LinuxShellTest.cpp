#include "platform/desktop/LinuxShell.h"
#include "platform/desktop/Spawn.h"

#include "doubles/Files.h"
#include "doubles/StartRecord.h"
#include "doubles/Unprivileged.h"
#include "doubles/WaitFor.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using namespace std::chrono_literals;

namespace {

// text/plain, and a type of notes that is a kind of it, so that documents have a known type
// without the machine's MIME database.
const char* const MimePackage = R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="text/plain"><comment>text</comment><glob pattern="*.txt"/></mime-type>
  <mime-type type="text/x-stackle-note"><comment>note</comment><sub-class-of type="text/plain"/>
    <glob pattern="*.note"/></mime-type>
</mime-info>
)";

// Starts documents, launchers and programs in an XDG environment of its own, where only the
// associations a test registers exist.
class LinuxShell : public testing::Test {
protected:
    QTemporaryDir temporary;
    const std::string root = fs::canonical(temporary.path().toStdString()).string();
    const std::string recordFile = root + "/record";
    const std::string work = root + "/work dir";
    platform::LinuxShell shell;

    void SetUp() override
    {
        for (const char* dir : {"config-home", "config-sys", "data-home/applications", "data-sys/applications",
                                "data-sys/mime/packages", "work dir"})
            fs::create_directories(root + "/" + dir);
        Write("data-sys/mime/packages/stackle-test.xml", MimePackage);
        setenv("XDG_CONFIG_HOME", (root + "/config-home").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (root + "/config-sys").c_str(), 1);
        setenv("XDG_DATA_HOME", (root + "/data-home").c_str(), 1);
        setenv("XDG_DATA_DIRS", (root + "/data-sys").c_str(), 1);
        unsetenv("XDG_CURRENT_DESKTOP");
        setenv("STACKLE_RECORD", recordFile.c_str(), 1);
    }

    void TearDown() override { unsetenv("STACKLE_RECORD_DELAY_MS"); }

    // Writes a file below the root and gives its full path.
    std::string Write(const std::string& relative, const std::string& text)
    {
        doubles::WriteFile(root + "/" + relative, text);
        return root + "/" + relative;
    }

    // A copy of the record program under another name, below the root.
    std::string Program(const std::string& name)
    {
        fs::copy_file(RECORD_ARGS, root + "/" + name);
        return root + "/" + name;
    }

    // Registers an application as the default for mimeType: the record program with arguments.
    void RegisterHandler(const std::string& mimeType, const std::string& arguments)
    {
        Write("data-home/applications/handler.desktop",
              "[Desktop Entry]\nType=Application\nMimeType=" + mimeType + ";\nExec=\"" RECORD_ARGS "\" " + arguments
                  + "\n");
        Write("config-home/mimeapps.list", "[Default Applications]\n" + mimeType + "=handler.desktop\n");
    }

    // The record of the program's start, once it has been written.
    doubles::StartRecord Recorded() const { return doubles::TakeStartRecord(recordFile); }
};

} // namespace

TEST_F(LinuxShell, StartsAProgramWithItsParameterTextAsOneArgument)
{
    const std::string parameters = "two words 'single' \"double\" \xe4\xf6 -x";
    EXPECT_EQ(shell.ShellStart(RECORD_ARGS, parameters, work, 1), 42);
    auto record = Recorded();
    EXPECT_EQ(record.directory, work);
    EXPECT_EQ(record.arguments, (Strings{RECORD_ARGS, parameters}));

    EXPECT_EQ(shell.ShellStart(RECORD_ARGS, "", "", 1), 42);
    record = Recorded();
    EXPECT_EQ(record.directory, fs::current_path().string());
    EXPECT_EQ(record.arguments, Strings{RECORD_ARGS});
}

TEST_F(LinuxShell, ReportsWhatKeepsAFileFromStarting)
{
    const std::string text = Write("notes.txt", "plain words\n");
    EXPECT_EQ(shell.ShellStart(root + "/missing", "", "", 1), 2);
    EXPECT_EQ(shell.ShellStart("", "", "", 1), 2);
    EXPECT_EQ(shell.ShellStart(RECORD_ARGS, "", root + "/missing", 1), 3);
    EXPECT_EQ(shell.ShellStart(text, "", "", 1), 31);
    EXPECT_EQ(shell.ShellStart(root, "", "", 1), 31);

    const std::string noInterpreter = Write("script", "echo no interpreter line\n");
    fs::permissions(noInterpreter, fs::perms::owner_all);
    EXPECT_EQ(shell.ShellStart(noInterpreter, "", "", 1), 11);
    const std::string launcher = Write("gone.desktop", "[Desktop Entry]\nType=Application\nExec=/no/such/program %f\n");
    fs::permissions(launcher, fs::perms::owner_exec, fs::perm_options::add);
    EXPECT_EQ(shell.ShellStart(launcher, "", "", 1), 2);
    EXPECT_FALSE(fs::exists(recordFile));
}

TEST_F(LinuxShell, OpensDocumentsInTheApplicationOfTheirTypeOrOfItsParent)
{
    RegisterHandler("text/plain", "--open %f");
    for (const std::string name : {"notes.txt", "meeting.note"}) {
        const std::string document = Write(name, "plain words\n");
        EXPECT_EQ(shell.ShellStart(document, "ignored", work, 1), 42) << name;
        const auto record = Recorded();
        EXPECT_EQ(record.directory, work);
        EXPECT_EQ(record.arguments, (Strings{RECORD_ARGS, "--open", document})) << name;
    }

    // Without a field code, the document goes last.
    RegisterHandler("text/plain", "");
    const std::string document = Write("notes.txt", "plain words\n");
    EXPECT_EQ(shell.ShellStart(document, "", "", 1), 42);
    EXPECT_EQ(Recorded().arguments, (Strings{RECORD_ARGS, document}));
}

TEST_F(LinuxShell, OpensFoldersInTheirHandler)
{
    RegisterHandler("inode/directory", "%U");
    EXPECT_EQ(shell.ShellStart(work, "", "", 1), 42);
    EXPECT_EQ(Recorded().arguments, (Strings{RECORD_ARGS, work}));
}

TEST_F(LinuxShell, RunsTheCommandOfALauncherFile)
{
    fs::create_directories(root + "/my apps");
    const std::string program = Program("my apps/rec \"1\"");
    // One line of the file per line here.
    // clang-format off
    const std::string launcher = Write("viewer.desktop", "[Desktop Entry]\nType=Application\nName=Viewer\n"
                                                         "Exec=\"" + root + "/my\\sapps/rec \\\\\"1\\\\\"\" -a %f\n"
                                                         "Path=" + work + "\n");
    // clang-format on
    fs::permissions(launcher, fs::perms::owner_exec, fs::perm_options::add);
    EXPECT_EQ(shell.ShellStart(launcher, "one parameter", root, 1), 42);
    auto record = Recorded();
    EXPECT_EQ(record.directory, work);
    EXPECT_EQ(record.arguments, (Strings{program, "-a", "one parameter"}));

    // Without a field code the parameter text goes last, as a document goes to its application.
    const std::string plain = Write("plain.desktop", "[Desktop Entry]\nType=Application\nExec=" RECORD_ARGS "\n");
    fs::permissions(plain, fs::perms::owner_exec, fs::perm_options::add);
    EXPECT_EQ(shell.ShellStart(plain, "the parameter", root, 1), 42);
    record = Recorded();
    EXPECT_EQ(record.directory, root);
    EXPECT_EQ(record.arguments, (Strings{RECORD_ARGS, "the parameter"}));
    EXPECT_EQ(shell.ShellStart(plain, "", root, 1), 42);
    EXPECT_EQ(Recorded().arguments, Strings{RECORD_ARGS});
}

// As in file managers: a launcher runs its command when it is one of the installed applications
// or its owner made it executable; any other opens as the document it is.
TEST_F(LinuxShell, ALauncherFileThatIsNotExecutableOpensAsADocument)
{
    RegisterHandler("text/plain", "--open %f");
    const std::string text = "[Desktop Entry]\nType=Application\nExec=\"" RECORD_ARGS "\" --run\n";
    const std::string downloaded = Write("downloaded.desktop", text);
    EXPECT_EQ(shell.ShellStart(downloaded, "", root, 1), 42);
    EXPECT_EQ(Recorded().arguments, (Strings{RECORD_ARGS, "--open", downloaded}));

    const std::string installed = Write("data-home/applications/installed.desktop", text);
    EXPECT_EQ(shell.ShellStart(installed, "", root, 1), 42);
    EXPECT_EQ(Recorded().arguments, (Strings{RECORD_ARGS, "--run"}));
}

// A launcher that asks for a terminal runs in the desktop's terminal, or does not run at all.
TEST_F(LinuxShell, TerminalLaunchersRunInATerminal)
{
    const std::string savedPath = std::getenv("PATH");
    fs::create_directory(root + "/bin");
    const std::string terminal = Program("bin/x-terminal-emulator");
    const std::string launcher = Write("data-home/applications/console.desktop",
                                       "[Desktop Entry]\nType=Application\nTerminal=true\nExec=top -d 1 %f\n");
    setenv("PATH", (root + "/bin:" + savedPath).c_str(), 1);
    EXPECT_EQ(shell.ShellStart(launcher, "the file", work, 1), 42);
    EXPECT_EQ(Recorded().arguments, (Strings{terminal, "-e", "top", "-d", "1", "the file"}));

    fs::remove(terminal);
    setenv("PATH", (root + "/bin").c_str(), 1);
    EXPECT_EQ(shell.ShellStart(launcher, "the file", work, 1), 11);
    setenv("PATH", savedPath.c_str(), 1);
}

// A program file that an installed application entry runs in a terminal gets the terminal too,
// found by its name in PATH or through a link; a file of the same name elsewhere does not.
TEST_F(LinuxShell, TerminalProgramsRunInATerminal)
{
    const std::string savedPath = std::getenv("PATH");
    fs::create_directories(root + "/bin");
    fs::create_directories(root + "/elsewhere");
    const std::string terminal = Program("bin/x-terminal-emulator");
    const std::string program = Program("bin/console-tool");
    const std::string namesake = Program("elsewhere/console-tool");
    fs::create_symlink(program, root + "/bin/console-link");
    setenv("PATH", (root + "/bin:" + savedPath).c_str(), 1);
    EXPECT_EQ(shell.ShellStart(program, "", work, 1), 42);
    EXPECT_EQ(Recorded().arguments, (Strings{program}));

    // The entry is noticed as soon as it is installed.
    Write("data-sys/applications/console-tool.desktop",
          "[Desktop Entry]\nType=Application\nTerminal=true\nExec=console-tool %F\n");

    EXPECT_EQ(shell.ShellStart(program, "the file", work, 1), 42);
    EXPECT_EQ(Recorded().arguments, (Strings{terminal, "-e", program, "the file"}));
    EXPECT_EQ(shell.ShellStart(root + "/bin/console-link", "", work, 1), 42);
    EXPECT_EQ(Recorded().arguments, (Strings{terminal, "-e", root + "/bin/console-link"}));
    EXPECT_EQ(shell.ShellStart(namesake, "the file", work, 1), 42);
    EXPECT_EQ(Recorded().arguments, (Strings{namesake, "the file"}));
    setenv("PATH", savedPath.c_str(), 1);
}

// Behind a folder that cannot be entered, a file is not missing: it cannot be reached.
TEST_F(LinuxShell, AFolderThatCannotBeEnteredDeniesAccess)
{
    const std::string closed = root + "/closed";
    fs::create_directory(closed);
    const std::string program = Program("closed/tool");
    fs::permissions(root, fs::perms::owner_all | fs::perms::others_exec);
    fs::permissions(closed, fs::perms::owner_all);
    const int code = doubles::RunUnprivileged([&] { return shell.ShellStart(program, "", "", 1); });
    fs::permissions(closed, fs::perms::owner_all);
    EXPECT_EQ(code, 5);
}

TEST_F(LinuxShell, HostileNamesAreOnlyNames)
{
    RegisterHandler("text/plain", "%f");
    const Strings hostile{"; touch pwned", "$(touch pwned)", "`touch pwned`", "-rf", "a b 'c' \"d\" | touch pwned &"};
    for (const std::string& name : hostile) {
        const std::string program = Program(name);
        EXPECT_EQ(shell.ShellStart(program, name, root, 1), 42) << name;
        EXPECT_EQ(Recorded().arguments, (Strings{program, name}));

        const std::string document = Write(name + ".txt", "text\n");
        EXPECT_EQ(shell.ShellStart(document, "", root, 1), 42) << name;
        EXPECT_EQ(Recorded().arguments, (Strings{RECORD_ARGS, document}));

        EXPECT_EQ(shell.StartAndWait(program, name, root, 1), 33) << name;
        EXPECT_EQ(Recorded().arguments, (Strings{program, name}));
    }
    for (const auto& entry : fs::recursive_directory_iterator(root))
        EXPECT_NE(entry.path().filename(), "pwned");
}

// A default application may hand the document to a shell inside a quoted argument; the name
// must reach that shell quoted, whatever it holds, and never run as commands.
TEST_F(LinuxShell, NamesInsideAShellCommandOfAnApplicationStayNames)
{
    const std::string copy = root + "/copy";
    const Strings execs{"sh -c \"cat %f > " + copy + "\"", "sh -c 'cat %f > " + copy + "'",
                        "sh -c \"cat -- \\\"$0\\\" > " + copy + "\" %f"};
    const Strings names{"x $(touch PWNED).txt", "a'b;touch PWNED.txt", "a\"b `touch PWNED`.txt",
                        "back\\slash $HOME.txt"};
    for (const std::string& exec : execs) {
        Write("data-home/applications/handler.desktop",
              "[Desktop Entry]\nType=Application\nMimeType=text/plain;\nExec=" + exec + "\n");
        Write("config-home/mimeapps.list", "[Default Applications]\ntext/plain=handler.desktop\n");
        for (const std::string& name : names) {
            const std::string document = Write(name, "the text of " + name);
            fs::remove(copy);
            EXPECT_EQ(shell.ShellStart(document, "", work, 1), 42) << exec << " / " << name;
            EXPECT_TRUE(doubles::WaitFor([&] { return doubles::ReadFile(copy) == "the text of " + name; }, 5s))
                << exec << " did not get " << name;
        }
    }
    for (const auto& entry : fs::recursive_directory_iterator(root))
        EXPECT_NE(entry.path().filename(), "PWNED");
}

// A named pipe is started by its name alone: nothing reads it to learn its type.
TEST_F(LinuxShell, ANamedPipeOpensByItsNameWithoutBeingRead)
{
    RegisterHandler("text/plain", "%f");
    const std::string pipe = root + "/notes.txt";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(shell.ShellStart(pipe, "", work, 1), 42);
    EXPECT_EQ(Recorded().arguments, (Strings{RECORD_ARGS, pipe}));
}

TEST_F(LinuxShell, StartAndWaitReturnsOnceTheProgramHasEnded)
{
    setenv("STACKLE_RECORD_DELAY_MS", "300", 1);
    EXPECT_EQ(shell.StartAndWait(RECORD_ARGS, "the parameter", work, 1), 33);
    EXPECT_TRUE(fs::exists(recordFile));
    const auto record = Recorded();
    EXPECT_EQ(record.directory, work);
    EXPECT_EQ(record.arguments, (Strings{RECORD_ARGS, "the parameter"}));

    EXPECT_EQ(shell.StartAndWait(root + "/missing", "", "", 1), -1);
    EXPECT_EQ(shell.StartAndWait(RECORD_ARGS, "", root + "/missing", 1), -1);
    EXPECT_EQ(shell.StartAndWait(Write("notes.txt", "text\n"), "", "", 1), -1);
}

TEST_F(LinuxShell, StartedProgramsLeaveNoZombies)
{
    RegisterHandler("text/plain", "%f");
    for (const std::string& file : {std::string(RECORD_ARGS), Write("notes.txt", "text\n")}) {
        ASSERT_EQ(shell.ShellStart(file, "", "", 1), 42);
        const std::string process = "/proc/" + std::to_string(Recorded().pid);
        EXPECT_TRUE(doubles::WaitFor([&] { return !fs::exists(process); }, 5s)) << process << " stays after ending";
    }
}

TEST_F(LinuxShell, ListsTheProgramFilesOfRunningProcesses)
{
    const std::string sleeper = Program("sleeper with a name longer than fifteen characters");
    setenv("STACKLE_RECORD_DELAY_MS", "60000", 1);
    const auto child = platform::Spawn({sleeper}, root, false);
    ASSERT_EQ(child.error, 0);

    const auto programs = shell.RunningProgramFiles();
    kill(child.pid, SIGKILL);
    platform::WaitUntilEnded(child.pid);
    ASSERT_TRUE(programs);
    const auto contains = [&](const std::string& program) {
        return std::find(programs->begin(), programs->end(), program) != programs->end();
    };
    EXPECT_TRUE(contains(sleeper));
    EXPECT_TRUE(contains(fs::read_symlink("/proc/self/exe").string()));
}
