#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The extensions of icon files in a theme, in the order they are looked for.
inline constexpr std::string_view IconFileExtensions[] = {".png", ".svg", ".xpm"};

// Finds the files of 32-pixel icons in freedesktop.org icon themes. Theme indexes are read once,
// when first needed, and which of their many folders exist is remembered, so that a look-up
// probes only the folders that are there, those that fit 32 pixels first.
class IconThemeFiles {
public:
    explicit IconThemeFiles(std::vector<std::string> searchPaths);

    // The file of the named icon in theme, the themes it inherits and hicolor, in that order:
    // in each theme the folder that fits 32 pixels, else the nearest size; else a loose file of
    // that name in a search path. Empty when there is none.
    std::string Find(const std::string& theme, const std::string& icon);

private:
    struct Folder {
        std::string name;
        int size = 0;
        int minSize = 0;
        int maxSize = 0;
        int threshold = 2;
        std::string type;
        int distance() const; // from 32 pixels; 0 when the folder fits
    };
    struct Theme {
        std::vector<std::string> roots; // the theme's folder in each search path that has it
        std::vector<Folder> folders;
        std::vector<std::string> inherits;
    };

    const Theme& Load(const std::string& name);
    bool FolderExists(const std::string& folder);
    std::string FileIn(const std::string& folder, const std::string& icon);
    std::string FindInTheme(const Theme& theme, const std::string& icon);

    std::vector<std::string> searchPaths_;
    std::map<std::string, Theme> themes_;
    std::map<std::string, bool> folders_;
};

} // namespace platform
