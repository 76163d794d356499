#pragma once

#include "platform/NotificationArea.h"
#include "platform/tray/TrayIconViews.h"

#include <QObject>

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

namespace platform {

class Dialogs;

// The notification area over the kinds of tray host a desktop may have: each icon is shown in a
// status-notifier host whenever one is there, and in the XEmbed system tray otherwise, never in
// both, and it moves as hosts start, end or restart. Every view reports a press as a
// notification area's mouse message (WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
// WM_RBUTTONDBLCLK, WM_MBUTTONDOWN) to the icon's window.
class LinuxNotificationArea final : public QObject, public NotificationArea {
public:
    // A failure a callback raises is shown by the general error report on dialogs.
    LinuxNotificationArea(Dialogs& dialogs, TrayIconViewMaker makeViews);
    ~LinuxNotificationArea() override;

    WindowHandle CreateMessageWindow(WindowProc proc) override;
    void DestroyMessageWindow(WindowHandle window) override;
    bool NotifyIcon(NotifyMessage message, const NotifyIconData& data) override;
    void SetIconMenu(WindowHandle window, std::uint32_t id, QMenu* menu) override;
    bool IconShown(WindowHandle window, std::uint32_t id, std::chrono::milliseconds patience) override;
    int DoubleClickTime() const override;
    QPoint CursorPos() const override;

private:
    struct Icon {
        TrayIconView* statusNotifier; // both views owned as children of the area
        TrayIconView* xembed;
        std::uint32_t callbackMessage = 0;
        std::optional<bool> inStatusNotifier; // where the icon was put last; nowhere yet
    };
    using IconKey = std::pair<WindowHandle, std::uint32_t>;

    void Place(Icon& icon);
    // The icon is not shown yet, and on its way into a host that is there, or may be.
    bool Arriving(const IconKey& key) const;
    void Deliver(const IconKey& key, std::intptr_t mouseMessage);
    static void Apply(Icon& icon, const NotifyIconData& data);
    void Remove(Icon& icon);

    Dialogs& dialogs_;
    TrayIconViewMaker makeViews_;
    WindowHandle nextWindow_ = 1;
    std::map<WindowHandle, WindowProc> windows_;
    std::map<IconKey, Icon> icons_;
};

} // namespace platform
