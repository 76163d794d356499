#include "platform/desktop/Reaper.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace platform {

namespace {

// How often children without a pidfd are asked whether they have ended.
constexpr int PollingMilliseconds = 100;

struct Child {
    pid_t pid;
    int pidfd; // -1: none, the child is asked at intervals
};

// A descriptor that becomes readable when the child ends, or -1 where the kernel offers none.
// Called directly: the C library's own wrapper is not usable from C++ on every system.
int OpenPidfd(pid_t pid)
{
    return int(syscall(SYS_pidfd_open, pid, 0));
}

// Collects the child if it has ended; true once it is no longer ours to wait for.
bool Collected(const Child& child)
{
    const pid_t result = waitpid(child.pid, nullptr, WNOHANG);
    if (result == 0 || (result < 0 && errno == EINTR))
        return false;
    if (child.pidfd >= 0)
        close(child.pidfd);
    return true;
}

} // namespace

Reaper::Reaper()
    : wake_(eventfd(0, EFD_CLOEXEC))
{
}

Reaper::~Reaper()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    if (thread_.joinable()) {
        Wake();
        thread_.join();
    }
    if (wake_ >= 0)
        close(wake_);
}

void Reaper::Collect(pid_t pid)
{
    const std::lock_guard lock(mutex_);
    handed_.push_back(pid);
    if (!thread_.joinable())
        thread_ = std::thread(&Reaper::Run, this);
    Wake();
}

void Reaper::Wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wake_, &one, sizeof one);
}

void Reaper::Run()
{
    std::vector<Child> children;
    std::vector<pollfd> watched;
    for (;;) {
        {
            const std::lock_guard lock(mutex_);
            if (stopping_)
                break;
            for (const pid_t pid : handed_)
                children.push_back({pid, OpenPidfd(pid)});
            handed_.clear();
        }
        std::erase_if(children, Collected);

        watched.assign(1, {wake_, POLLIN, 0});
        bool asking = wake_ < 0;
        for (const Child& child : children) {
            if (child.pidfd >= 0)
                watched.push_back({child.pidfd, POLLIN, 0});
            else
                asking = true;
        }
        poll(watched.data(), watched.size(), asking ? PollingMilliseconds : -1);
        if (watched.front().revents & POLLIN) {
            std::uint64_t count;
            [[maybe_unused]] const auto drained = read(wake_, &count, sizeof count);
        }
    }
    for (const Child& child : children)
        if (child.pidfd >= 0)
            close(child.pidfd);
}

} // namespace platform
