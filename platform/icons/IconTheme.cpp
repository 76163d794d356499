#include "platform/icons/IconTheme.h"

#include "platform/files/MappedFile.h"
#include "platform/icons/IconImage.h"
#include "platform/icons/IconThemeFiles.h"

#include <QIcon>

#include <filesystem>
#include <map>

namespace platform {

namespace {

// The theme and its files, chosen on first use rather than at start-up, which then costs
// nothing: the desktop's own theme when its platform theme configured one, else the first
// installed fallback.
struct ChosenTheme {
    std::string name;
    IconThemeFiles files;
};

ChosenTheme& Chosen()
{
    static ChosenTheme chosen = [] {
        const auto paths = IconThemeSearchPaths(XdgDirectories::FromEnvironment(), HomeDirectory());
        const QString configured = QIcon::themeName();
        std::string name = !configured.isEmpty() && configured != QLatin1String("hicolor") ? configured.toStdString()
                                                                                           : FallbackIconTheme(paths);
        return ChosenTheme{std::move(name), IconThemeFiles(paths)};
    }();
    return chosen;
}

// Reads an icon file of a theme: PNG and XPM directly, SVG through Qt's plugin, rendered small.
// The bytes are read first, so that nothing but a regular file is ever opened.
QImage ReadIconFile(const std::string& file)
{
    const auto mapped = MappedFile::Open(file);
    if (!mapped)
        return {};
    return ReadPicture(mapped->bytes(), file.ends_with(".svg") ? "svg" : file.ends_with(".xpm") ? "xpm" : "png");
}

// Icon names are sometimes given with the file's extension, from before icon themes.
std::string WithoutImageExtension(const std::string& name)
{
    for (const std::string_view extension : IconFileExtensions)
        if (name.ends_with(extension))
            return name.substr(0, name.size() - extension.size());
    return name;
}

} // namespace

std::string FallbackIconTheme(const std::vector<std::string>& searchPaths)
{
    for (const char* theme : {"Adwaita", "breeze", "hicolor"})
        for (const std::string& path : searchPaths) {
            std::error_code error;
            if (std::filesystem::is_regular_file(path + "/" + theme + "/index.theme", error))
                return theme;
        }
    return {};
}

std::vector<std::string> IconThemeSearchPaths(const XdgDirectories& directories, const std::string& home)
{
    std::vector<std::string> paths;
    if (!home.empty())
        paths.push_back(home + "/.icons");
    paths.push_back(directories.dataHome + "/icons");
    for (const std::string& dir : directories.dataDirs)
        paths.push_back(dir + "/icons");
    for (const std::string& dir : directories.dataDirs)
        paths.push_back(dir + "/pixmaps");
    return paths;
}

std::optional<QImage> ThemeIcon(const std::string& name)
{
    if (name.empty() || !HasGuiApplication())
        return std::nullopt;
    static std::map<std::string, std::optional<QImage>> cache;
    if (const auto known = cache.find(name); known != cache.end())
        return known->second;
    ChosenTheme& theme = Chosen();
    std::optional<QImage> result;
    if (const std::string file = theme.files.Find(theme.name, WithoutImageExtension(name)); !file.empty())
        if (const QImage image = ReadIconFile(file); !image.isNull())
            result = FitIconSquare(image);
    cache.emplace(name, result);
    return result;
}

} // namespace platform
