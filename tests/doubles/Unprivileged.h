#pragma once

#include <functional>

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace doubles {

// The unprivileged user "nobody".
inline constexpr uid_t Nobody = 65534;

// Runs body in a child process and gives its exit code (90: the privileges could not be
// dropped). Root may write anywhere whatever the permission bits say, so when the tests run
// as root the child first becomes "nobody"; otherwise it keeps the calling user.
inline int RunUnprivileged(const std::function<int()>& body)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0))
            _exit(90);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace doubles
