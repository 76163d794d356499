#pragma once

#include "platform/desktop/XdgDirectories.h"

#include <QImage>

#include <optional>
#include <string>

namespace platform {

// The icon theme to use when the desktop configures none: the first of Adwaita, breeze and
// hicolor whose index.theme is in one of searchPaths; empty when none is.
std::string FallbackIconTheme(const std::vector<std::string>& searchPaths);

// Where icon themes are looked for: ~/.icons, then the "icons" folders of the XDG data
// directories, most important first, then their "pixmaps" folders for icons outside any theme.
std::vector<std::string> IconThemeSearchPaths(const XdgDirectories& directories, const std::string& home);

// The icon of this name from the icon theme at 32 × 32, or nothing when the theme has none or no
// QGuiApplication exists. The first call chooses the theme: the desktop's own when its platform
// theme has set one other than hicolor, else the first installed fallback. Results are kept by
// name for the rest of the run. GUI thread only.
std::optional<QImage> ThemeIcon(const std::string& name);

} // namespace platform
