#include "platform/desktop/Reaper.h"
#include "platform/desktop/Spawn.h"

#include "doubles/WaitFor.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <vector>

namespace {

long ThreadCount()
{
    return long(std::distance(std::filesystem::directory_iterator("/proc/self/task"), {}));
}

// Whether the child is no longer ours to wait for: it has ended and been collected. Asks without
// collecting it.
bool Collected(pid_t pid)
{
    siginfo_t info{};
    return waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD;
}

bool AllCollectedWithinSeconds(const std::vector<pid_t>& pids, int seconds)
{
    return doubles::WaitFor([&] { return std::all_of(pids.begin(), pids.end(), Collected); },
                            std::chrono::seconds(seconds));
}

pid_t Start(const std::vector<std::string>& arguments)
{
    const platform::Spawned child = platform::Spawn(arguments, "", false);
    EXPECT_EQ(child.error, 0);
    return child.pid;
}

// Many children, one thread: each is collected once it ends, also those handed over after the
// thread has gone to sleep. The children live long enough to count the threads meanwhile.
TEST(Reaper, OneThreadCollectsEveryChild)
{
    platform::Reaper reaper;
    const long threadsBefore = ThreadCount();
    std::vector<pid_t> children;
    for (int i = 0; i < 50; ++i) {
        children.push_back(Start({"/bin/sleep", "1"}));
        reaper.Collect(children.back());
    }
    EXPECT_LE(ThreadCount(), threadsBefore + 1);
    EXPECT_FALSE(Collected(children.front())) << "still running";
    EXPECT_TRUE(AllCollectedWithinSeconds(children, 10));

    const pid_t later = Start({"/bin/true"});
    reaper.Collect(later);
    EXPECT_TRUE(AllCollectedWithinSeconds({later}, 5));
    EXPECT_LE(ThreadCount(), threadsBefore + 1);
}

// A child that was not handed over stays for the one who started it to wait for.
TEST(Reaper, LeavesOtherChildrenAlone)
{
    platform::Reaper reaper;
    const pid_t own = Start({"/bin/sh", "-c", "exit 7"});
    const pid_t handed = Start({"/bin/true"});
    reaper.Collect(handed);
    EXPECT_TRUE(AllCollectedWithinSeconds({handed}, 5));

    int status = 0;
    ASSERT_EQ(waitpid(own, &status, 0), own);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
}

} // namespace
