#include "platform/files/ChangeWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace platform {

namespace {

constexpr std::uint32_t ChangeEvents = IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_DELETE_SELF | IN_MODIFY
    | IN_MOVE_SELF | IN_MOVED_FROM | IN_MOVED_TO;

} // namespace

ChangeWatch::ChangeWatch()
    : descriptor_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
}

ChangeWatch::~ChangeWatch()
{
    if (descriptor_ >= 0)
        close(descriptor_);
}

bool ChangeWatch::Add(const std::string& path)
{
    if (descriptor_ < 0)
        return false;
    const int watch = inotify_add_watch(descriptor_, path.c_str(), ChangeEvents);
    if (watch < 0) {
        missed_ = missed_ || errno == ENOSPC || errno == ENOMEM;
        return false;
    }
    std::vector<std::string>& paths = watched_[watch];
    if (std::find(paths.begin(), paths.end(), path) == paths.end())
        paths.push_back(path);
    return true;
}

std::optional<std::vector<ChangeWatch::Change>> ChangeWatch::Take()
{
    std::vector<Change> changes;
    alignas(inotify_event) char buffer[16 * 1024];
    while (descriptor_ >= 0 && !missed_) {
        const ssize_t length = read(descriptor_, buffer, sizeof buffer);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            break; // EAGAIN: nothing more is queued
        for (ssize_t at = 0; at < length;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof event;
            at += ssize_t(sizeof event + event.len);
            missed_ = missed_ || (event.mask & IN_Q_OVERFLOW);
            const auto watch = watched_.find(event.wd);
            if (watch == watched_.end())
                continue;
            for (const std::string& path : watch->second)
                changes.push_back({path, event.len ? std::string(name) : std::string(), bool(event.mask & IN_ISDIR)});
            if (event.mask & IN_IGNORED) // the watch has ended: its file is gone
                watched_.erase(watch);
        }
    }
    if (descriptor_ < 0 || missed_)
        return std::nullopt;
    return changes;
}

} // namespace platform
