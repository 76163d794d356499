#pragma once

#include "platform/NotificationArea.h"

#include <QObject>

#include <cstdint>
#include <map>
#include <utility>

class QSystemTrayIcon;

namespace platform {

class Dialogs;

// The notification area through QSystemTrayIcon, which reaches the desktop's tray host over
// the StatusNotifierItem protocol where a watcher runs on the session bus, and over the XEmbed
// system tray otherwise. Both are made to report what a notification area reports: a left
// press as WM_LBUTTONDOWN, a double click as WM_LBUTTONDBLCLK, a context request (the right
// button) as WM_RBUTTONDOWN and a right double click as WM_RBUTTONDBLCLK. Qt never opens a menu
// of its own: the icons are given none, so their owner decides what a click means.
class QtNotificationArea final : public QObject, public NotificationArea {
public:
    // A failure a callback raises is shown by the general error report on dialogs.
    explicit QtNotificationArea(Dialogs& dialogs);
    ~QtNotificationArea() override;

    WindowHandle CreateMessageWindow(WindowProc proc) override;
    void DestroyMessageWindow(WindowHandle window) override;
    bool NotifyIcon(NotifyMessage message, const NotifyIconData& data) override;
    int DoubleClickTime() const override;
    QPoint CursorPos() const override;
    bool HostPresent() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Icon {
        QSystemTrayIcon* trayIcon; // owned as a child of the area
        std::uint32_t callbackMessage = 0;
    };
    using IconKey = std::pair<WindowHandle, std::uint32_t>;

    void Deliver(const IconKey& key, std::intptr_t mouseMessage);
    static void Apply(Icon& icon, const NotifyIconData& data);

    Dialogs& dialogs_;
    WindowHandle nextWindow_ = 1;
    std::map<WindowHandle, WindowProc> windows_;
    std::map<IconKey, Icon> icons_;
};

} // namespace platform
