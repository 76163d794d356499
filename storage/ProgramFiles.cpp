#include "storage/ProgramFiles.h"

#include "platform/files/FileContent.h"
#include "storage/FileList.h"
#include "storage/SettingsKeys.h"

std::string NoteFilePath(const std::string& programDirectory, int note)
{
    return programDirectory + "note" + std::to_string(note) + ".dat";
}

namespace {

// The names of the files the program keeps beside itself: the settings file, the twelve pop-up
// file lists and the eight notes.
std::vector<std::string> StoredFileNames()
{
    std::vector<std::string> names{SettingsFilePath("")};
    for (int slot = 1; slot <= SlotCount; ++slot)
        names.push_back(FileListPath("", slot));
    for (int note = 1; note <= NoteCount; ++note)
        names.push_back(NoteFilePath("", note));
    return names;
}

} // namespace

void RemoveInterruptedWrites(const std::string& programDirectory)
{
    platform::RemoveReplacementLeftovers(programDirectory, StoredFileNames());
}
