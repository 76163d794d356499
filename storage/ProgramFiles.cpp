#include "storage/ProgramFiles.h"

#include "platform/files/FileContent.h"
#include "storage/FileList.h"
#include "storage/SettingsKeys.h"

std::string NoteFilePath(const std::string& dataDirectory, int note)
{
    return dataDirectory + "note" + std::to_string(note) + ".dat";
}

std::vector<std::string> StoredFileNames()
{
    std::vector<std::string> names{SettingsFilePath("")};
    for (int slot = 1; slot <= SlotCount; ++slot)
        names.push_back(FileListPath("", slot));
    for (int note = 1; note <= NoteCount; ++note)
        names.push_back(NoteFilePath("", note));
    return names;
}

void RemoveInterruptedWrites(const std::string& dataDirectory)
{
    platform::RemoveReplacementLeftovers(dataDirectory, StoredFileNames());
}
