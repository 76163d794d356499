#pragma once

#include <sys/types.h>

#include <mutex>
#include <thread>
#include <vector>

namespace platform {

// Collects started children once they end, so that none stays a zombie. One background thread,
// started with the first child, watches them all: through a pidfd each, or where the system has
// none, by asking each such child at short intervals. It waits only for the children handed to
// it, so that others can still be waited for where they were started.
class Reaper {
public:
    Reaper();
    // Stops the thread; children still running then are left to the system.
    ~Reaper();
    Reaper(const Reaper&) = delete;
    Reaper& operator=(const Reaper&) = delete;

    void Collect(pid_t pid);

private:
    void Run();
    void Wake();

    int wake_ = -1; // an eventfd: new children, or the end
    std::mutex mutex_;
    std::vector<pid_t> handed_; // not yet watched by the thread
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace platform
