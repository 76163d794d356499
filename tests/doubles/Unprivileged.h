#pragma once

#include <functional>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace doubles {

// Runs check in a child process that cannot write what root owns read-only: the child drops to
// the unprivileged user "nobody" when the tests run as root (for whom file modes alone make
// nothing read-only), and otherwise keeps the calling user. Returns whether check returned
// true in the child.
inline bool RunUnprivileged(const std::function<bool()>& check)
{
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace doubles
