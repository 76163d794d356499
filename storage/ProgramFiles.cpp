#include "storage/ProgramFiles.h"

#include "platform/files/FileContent.h"

std::vector<std::string> StoredFileNames()
{
    std::vector<std::string> names{"FILE.INI"};
    for (int slot = 1; slot <= 12; ++slot)
        names.push_back("flist" + std::to_string(slot) + ".dll");
    for (int note = 1; note <= 8; ++note)
        names.push_back("note" + std::to_string(note) + ".dat");
    return names;
}

void RemoveInterruptedWrites(const std::string& programDirectory)
{
    platform::RemoveReplacementLeftovers(programDirectory, StoredFileNames());
}
