#pragma once

#include "doubles/Files.h"
#include "doubles/WaitFor.h"

#include <gtest/gtest.h>

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace doubles {

// How the record program (tests/platform/desktop/RecordArgs.cpp) was started, as it writes it
// into the file STACKLE_RECORD names: its working directory, its process id and its arguments.
struct StartRecord {
    std::string directory;
    pid_t pid = 0;
    std::vector<std::string> arguments;
};

// The fields of a record file's text, each of which the program ends with a NUL byte.
inline std::vector<std::string> RecordFields(const std::string& text)
{
    std::vector<std::string> fields;
    for (std::size_t start = 0, end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
        fields.push_back(text.substr(start, end - start));
    return fields;
}

// Waits up to five seconds for the record program to write the file; whether it did.
inline bool WaitForRecord(const std::string& file)
{
    return WaitFor([&] { return std::filesystem::exists(file); }, std::chrono::seconds(5));
}

// The record in the file, once the program has written it; the file is removed, for the next
// start to write its own. Empty when the program did not run (a failure of the test) or wrote
// too little.
inline StartRecord TakeStartRecord(const std::string& file)
{
    if (!WaitForRecord(file)) {
        ADD_FAILURE() << "the record program did not run";
        return {};
    }
    const std::vector<std::string> fields = RecordFields(ReadFile(file));
    std::filesystem::remove(file);
    if (fields.size() < 3)
        return {};
    return {fields[0], pid_t(std::stoi(fields[1])), std::vector<std::string>(fields.begin() + 2, fields.end())};
}

} // namespace doubles
