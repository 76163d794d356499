#include "platform/desktop/Spawn.h"

#include "platform/desktop/Reaper.h"
#include "platform/files/Paths.h"
#include "platform/text/Ascii.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

Spawned Spawn(const std::vector<std::string>& arguments, const std::string& directory, bool ownSession)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!directory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    const int flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | (ownSession ? POSIX_SPAWN_SETSID : 0);
    posix_spawnattr_setflags(&attributes, short(flags));

    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    Spawned spawned;
    spawned.error = posix_spawnp(&spawned.pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return spawned;
}

std::string FindProgram(const std::string& name, const std::string& searchPath)
{
    for (const std::string& dir : Split(searchPath, ':')) {
        if (!dir.starts_with('/'))
            continue;
        if (const std::string candidate = dir + "/" + name; IsExecutableFile(candidate))
            return candidate;
    }
    return {};
}

void WaitUntilEnded(pid_t pid)
{
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {}
}

void CollectWhenEnded(pid_t pid)
{
    static Reaper reaper;
    reaper.Collect(pid);
}

} // namespace platform
