#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Changes to watched folders and files, as the kernel reports them (inotify), collected without
// ever waiting. A folder's watch reports its entries that were added, removed, renamed, written
// or had their attributes changed, and its own removal or move; a file's watch (the file a link
// names, when given a link) reports writes to it and its removal or move. Reading, listing and
// opening are not reported.
class ChangeWatch {
public:
    struct Change {
        std::string watched; // the path the watch was added for
        std::string name; // the entry of the watched folder that changed; empty: the watched path itself
        bool isFolder = false; // what changed is a folder
    };

    ChangeWatch();
    ~ChangeWatch();
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    // Watches the folder or file at path. False when it cannot be watched: it is missing or cannot
    // be read (its folder's watch reports when that changes), or the system's limit of watches is
    // reached, after which Take reports nothing but that changes were missed.
    bool Add(const std::string& path);

    // The changes since the last call, in the order they happened; nothing when some may have
    // been missed (too many at once, the watch limit, no watch at all), so that the caller must
    // take everything it watches as changed.
    std::optional<std::vector<Change>> Take();

private:
    int descriptor_;
    bool missed_ = false;
    std::map<int, std::vector<std::string>> watched_; // by watch descriptor: several paths may be one file
};

} // namespace platform
