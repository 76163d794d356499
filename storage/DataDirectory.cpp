#include "storage/DataDirectory.h"

#include "platform/desktop/XdgDirectories.h"
#include "platform/files/FileContent.h"
#include "platform/files/Paths.h"
#include "storage/ProgramFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace {

// The path without the '/' it ends in.
std::string WithoutFinalSlash(const std::string& directory)
{
    return directory.substr(0, directory.find_last_not_of('/') + 1);
}

// Makes the folder and those of its parents that are missing, each readable by the user alone.
bool MakeDirectories(const std::string& directory)
{
    if (directory.empty() || platform::IsDirectory(directory))
        return true;
    const std::string withoutSlash = WithoutFinalSlash(directory);
    if (!MakeDirectories(platform::DirectoryPart(withoutSlash)))
        return false;
    return mkdir(withoutSlash.c_str(), 0700) == 0 || errno == EEXIST;
}

// Makes directory (which ends in '/') as a copy of the program's files found in source: a
// temporary folder beside it is filled and then renamed. Another start that made it meanwhile
// wins; its folder is as good.
bool MakeCopy(const std::string& source, const std::string& directory)
{
    const std::string target = WithoutFinalSlash(directory);
    if (target.empty() || !MakeDirectories(platform::DirectoryPart(target)))
        return false;
    std::string temporary = target + ".stackle-XXXXXX";
    if (!mkdtemp(temporary.data()))
        return false;
    bool copied = true;
    for (const std::string& name : StoredFileNames())
        if (const auto content = platform::ReadFileContent(source + name))
            copied = copied && platform::ReplaceFileContent(temporary + "/" + name, *content);
    if (copied && std::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    std::error_code ignored;
    std::filesystem::remove_all(temporary, ignored);
    return platform::IsDirectory(target);
}

} // namespace

std::string UserDataDirectory()
{
    return platform::XdgDirectories::FromEnvironment().configHome + "/stackle/";
}

std::string ChooseDataDirectory(const std::string& programDirectory, const std::string& userDirectory)
{
    if (access(programDirectory.c_str(), W_OK) == 0)
        return programDirectory;
    if (platform::IsDirectory(userDirectory) || MakeCopy(programDirectory, userDirectory))
        return userDirectory;
    return programDirectory;
}
