#include "exebtn/StartFile.h"

#include "doubles/FakePlatform.h"
#include "doubles/Unprivileged.h"
#include "platform/desktop/LinuxShell.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cctype>
#include <filesystem>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A name of its own for this run's probe, so that two runs on one machine never see each other's.
const std::string ProbeName = "StackleProbe" + std::to_string(getpid());

std::string Cased(std::string text, int (*change)(int))
{
    for (char& c : text)
        c = char(change(static_cast<unsigned char>(c)));
    return text;
}

// A real process running a program file named ProbeName, started by the test.
class RunningProbe {
public:
    RunningProbe()
    {
        program_ = dir_.path().toStdString() + "/" + ProbeName;
        std::filesystem::copy_file("/bin/sleep", program_);
        std::filesystem::permissions(program_, std::filesystem::perms::owner_all);
        char* argv[] = {program_.data(), const_cast<char*>("60"), nullptr};
        EXPECT_EQ(posix_spawn(&pid_, program_.c_str(), nullptr, nullptr, argv, environ), 0);
    }
    ~RunningProbe() { Stop(); }

    void Stop()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    QTemporaryDir dir_;
    std::string program_;
    pid_t pid_ = -1;
};

TEST(OneInstance, ARunningProgramOfTheSameFileNameIsFoundInAnyFolderAndLetterCase)
{
    platform::LinuxShell shell;
    doubles::TestPlatform env;
    TStartSettings settings;
    settings.ExeFile = "/nowhere/" + Cased(ProbeName, tolower);
    settings.ExeOneInstance = true;

    RunningProbe probe;
    EXPECT_EQ(CountRunningInstances("/elsewhere/" + Cased(ProbeName, toupper), shell), 1);
    StartFile(settings, {}, env.platformWith(shell));
    EXPECT_TRUE(env.dialogs.messages.empty()) << "the running program was started again";

    probe.Stop();
    EXPECT_EQ(CountRunningInstances("/elsewhere/" + Cased(ProbeName, toupper), shell), 0);
    StartFile(settings, {}, env.platformWith(shell));
    ASSERT_EQ(env.dialogs.messages.size(), 1u);
    EXPECT_EQ(env.dialogs.messages[0].text, QString::fromStdString("File was not found.(" + settings.ExeFile + ")"));
}

// A user cannot read where another user's programs live, only their command lines: those
// still count.
TEST(OneInstance, AnotherUsersRunningProgramCountsToo)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root, to run the probe as one user and count it as another";
    platform::LinuxShell shell;
    RunningProbe probe;
    const int counted = doubles::RunUnprivileged(
        [&] { return CountRunningInstances("/elsewhere/" + Cased(ProbeName, toupper), shell); });
    EXPECT_EQ(counted, 1);
}

} // namespace
