#include "platform/IconTheme.h"

#include "platform/IconImage.h"

#include <QGuiApplication>
#include <QIcon>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <utility>

namespace platform {

namespace {

// Chooses a theme on first use rather than at start-up, which then costs nothing.
void SetUpIconTheme()
{
    static bool done = false;
    if (std::exchange(done, true))
        return;
    const QString configured = QIcon::themeName();
    if (!configured.isEmpty() && configured != QLatin1String("hicolor"))
        return;
    const char* home = std::getenv("HOME");
    const auto paths = IconThemeSearchPaths(XdgDirectories::FromEnvironment(), home ? home : "");
    QStringList searchPaths;
    for (const std::string& path : paths)
        searchPaths << QString::fromStdString(path);
    QIcon::setThemeSearchPaths(searchPaths);
    if (const std::string theme = FallbackIconTheme(paths); !theme.empty())
        QIcon::setThemeName(QString::fromStdString(theme));
}

// Icon names are sometimes given with the file's extension, from before icon themes.
std::string WithoutImageExtension(const std::string& name)
{
    for (const char* extension : {".png", ".svg", ".xpm"})
        if (name.ends_with(extension))
            return name.substr(0, name.size() - 4);
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
    if (name.empty() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return std::nullopt;
    static std::map<std::string, std::optional<QImage>> cache;
    if (const auto known = cache.find(name); known != cache.end())
        return known->second;
    SetUpIconTheme();
    std::optional<QImage> result;
    const QIcon icon = QIcon::fromTheme(QString::fromStdString(WithoutImageExtension(name)));
    if (!icon.isNull()) {
        const QPixmap pixmap = icon.pixmap(QSize(kIconSide, kIconSide), 1.0);
        if (!pixmap.isNull())
            result = FitIconSquare(pixmap.toImage());
    }
    cache.emplace(name, result);
    return result;
}

} // namespace platform
