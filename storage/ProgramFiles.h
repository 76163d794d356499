#pragma once

#include <string>
#include <vector>

// The names of the files the program keeps beside itself: the settings file, the twelve pop-up
// file lists and the eight notes.
std::vector<std::string> StoredFileNames();

// Removes what writes of those files left in the program directory when they were killed.
void RemoveInterruptedWrites(const std::string& programDirectory);
