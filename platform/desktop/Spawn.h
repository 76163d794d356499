#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace platform {

// A started child process, or the errno that kept it from starting.
struct Spawned {
    pid_t pid = -1;
    int error = 0;
};

// Starts the program arguments[0] (searched in PATH when it holds no '/') with arguments as its
// argument vector, in directory (empty: ours), without any shell in between. The child has our
// environment and default signal handling, and of our open files only standard input, output
// and error. With ownSession it leaves our session, so that closing our terminal does not end it.
Spawned Spawn(const std::vector<std::string>& arguments, const std::string& directory, bool ownSession);

// The file a program name stands for: the first executable of that name in the directories of
// searchPath (':'-separated, like PATH); empty when there is none.
std::string FindProgram(const std::string& name, const std::string& searchPath);

// Waits until the child has ended, and collects it.
void WaitUntilEnded(pid_t pid);

// Collects the child once it ends, so that it never stays a zombie. One background thread serves
// every child handed to it.
void CollectWhenEnded(pid_t pid);

} // namespace platform
