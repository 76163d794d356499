#pragma once

#include <string>
#include <vector>

// How many launch slots and how many notes the program keeps.
inline constexpr int SlotCount = 12;
inline constexpr int NoteCount = 8;

// The file of note n (1 to 8) in the data directory (which ends in '/'): "note<n>.dat".
std::string NoteFilePath(const std::string& dataDirectory, int note);

// The names of the files the program keeps: the settings file, the twelve pop-up file lists and
// the eight notes.
std::vector<std::string> StoredFileNames();

// Removes what writes of those files left in the data directory when they were killed.
void RemoveInterruptedWrites(const std::string& dataDirectory);
