#include "platform/tray/TrayIconViews.h"

#include "platform/tray/StatusNotifierItem.h"
#include "platform/tray/XEmbedTrayIcon.h"

namespace platform {

TrayIconViews DesktopTrayIconViews()
{
    return {std::make_unique<StatusNotifierItem>(), std::make_unique<XEmbedTrayIcon>()};
}

} // namespace platform
