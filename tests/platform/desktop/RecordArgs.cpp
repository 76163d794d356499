// Records how it was started, for the shell tests: its working directory, its process id and
// its arguments, each followed by a NUL byte, into the file STACKLE_RECORD names. With
// STACKLE_RECORD_DELAY_MS it waits that many milliseconds first. The file is written aside and
// renamed, so that it appears complete.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    if (const char* delay = std::getenv("STACKLE_RECORD_DELAY_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(delay)));
    const char* record = std::getenv("STACKLE_RECORD");
    if (!record)
        return 1;
    std::string text = std::filesystem::current_path().string() + '\0' + std::to_string(getpid()) + '\0';
    for (int i = 0; i < argc; ++i)
        text += std::string(argv[i]) + '\0';
    const std::string part = std::string(record) + ".part";
    std::ofstream(part, std::ios::binary) << text;
    return std::rename(part.c_str(), record) == 0 ? 0 : 1;
}
