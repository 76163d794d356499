#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A launch slot's pop-up file list: one line per file, each line the first 12 characters of
// the file's name, the separator "    *" and the file's full path. Lists are kept sorted by the
// whole line, letters compared without regard to case, and stored one line each with CR LF
// after every line; an empty list is a file of zero bytes.

// The list file of a slot: the data directory, "flist", the slot number and ".dll".
std::string FileListPath(const std::string& dataDirectory, int slot);
// The bytes of the list file at path, to be made into a list later (TFileList::LoadFromBytes);
// nothing when the file cannot be read.
std::optional<std::string> ReadFileListBytes(const std::string& path);

// The list line of a file. Throws std::invalid_argument when the path holds a line break, which
// no line of a list can hold.
std::string FileListLine(std::string_view fullPath);
// The path of a line: everything after its first star, or the whole line without one; when the
// file's name holds a star, everything after the separator that follows the name part.
std::string FileListLinePath(std::string_view line);
// The name part of a line: the text before its separator, or the whole line without one.
std::string FileListLineName(std::string_view line);

// The order of list lines: character by character, every letter's case ignored (Unicode case
// folding, the same on every machine and in every locale).
bool FileListLineLess(std::string_view a, std::string_view b);

// A sorted list of lines, as loaded from a list file and stored back.
class TFileList {
public:
    const std::vector<std::string>& Lines() const { return lines_; }
    int Count() const { return int(lines_.size()); }

    // Reads the file's lines, which end at CR, at LF or at CR LF, and sorts them. A file that
    // cannot be read gives an empty list and false.
    bool LoadFromFile(const std::string& path);
    // The same from the bytes of a list file read before.
    void LoadFromBytes(std::string_view bytes);
    // Replaces the file's whole content with the lines. Throws std::runtime_error "Cannot
    // create file <path>" when it cannot be written; the file then keeps its former content.
    void SaveToFile(const std::string& path) const;

    // Adds the line at its sorted place.
    void Add(std::string line);
    void Delete(int index);
    void Clear() { lines_.clear(); }

private:
    std::vector<std::string> lines_;
};
