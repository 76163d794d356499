#pragma once

#include "platform/tray/TrayIconView.h"

#include <functional>
#include <memory>

namespace platform {

// The two views of one icon: in a status-notifier host and in the XEmbed system tray.
struct TrayIconViews {
    std::unique_ptr<TrayIconView> statusNotifier;
    std::unique_ptr<TrayIconView> xembed;
};

// Makes the views of each icon the notification area adds; tests make doubles.
using TrayIconViewMaker = std::function<TrayIconViews()>;

// The views of this desktop: a StatusNotifierItem and an XEmbedTrayIcon.
TrayIconViews DesktopTrayIconViews();

} // namespace platform
