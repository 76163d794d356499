#pragma once

#include <string>

// The folder of a user's own copy of the program's files: "stackle" in the user's configuration
// folder ($XDG_CONFIG_HOME, ~/.config by default), with its final '/'.
std::string UserDataDirectory();

// Where the program keeps its settings, lists and notes (StoredFileNames), with the final '/':
// - the program directory, while the program may write it (a read-only file in it changes
//   nothing: that file's writes fail, as they always have);
// - otherwise the user's folder. When that does not exist yet, it is made, readable by the user
//   alone, as a copy of those of the program's files that the program directory holds (an
//   administrator's defaults); it is filled under another name and then renamed, so that no
//   start ever sees it half made;
// - the program directory again when the user's folder neither is there nor can be made.
// Both directories end in '/'.
std::string ChooseDataDirectory(const std::string& programDirectory, const std::string& userDirectory);
