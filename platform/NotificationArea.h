#pragma once

#include <QIcon>
#include <QPoint>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>

class QMenu;

namespace platform {

// The handle of a message window: an opaque number that names it, never 0.
using WindowHandle = std::uintptr_t;

// What a notification-area call does with the record.
enum NotifyMessage : std::uint32_t { NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2 };

// Which fields of the record a call carries.
enum NotifyFlag : std::uint32_t { NIF_MESSAGE = 1, NIF_ICON = 2, NIF_TIP = 4 };

// The mouse messages a callback carries as its lParam.
enum MouseMessage : std::int32_t {
    WM_MOUSEMOVE = 0x200,
    WM_LBUTTONDOWN = 0x201,
    WM_LBUTTONUP = 0x202,
    WM_LBUTTONDBLCLK = 0x203,
    WM_RBUTTONDOWN = 0x204,
    WM_RBUTTONUP = 0x205,
    WM_RBUTTONDBLCLK = 0x206,
    WM_MBUTTONDOWN = 0x207,
};

// The longest tip a record holds; its field has room for one character more, a terminating zero.
inline constexpr int NotifyTipLength = 63;

// One icon of the notification area, in the record's first and smallest form.
struct NotifyIconData {
    std::uint32_t cbSize = 0;
    WindowHandle hWnd = 0; // the window that receives the icon's callbacks
    std::uint32_t uID = 0; // tells the icons of one window apart
    std::uint32_t uFlags = 0; // NotifyFlag values together
    std::uint32_t uCallbackMessage = 0;
    QIcon hIcon;
    QString szTip; // at most NotifyTipLength characters
};

// The desktop's notification area (the system tray), with the input services its icons need.
// Everything runs on the user-interface thread.
class NotificationArea {
public:
    // A message window's procedure: the callback message, wParam (the icon's uID) and lParam
    // (the mouse message).
    using WindowProc = std::function<void(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)>;

    virtual ~NotificationArea() = default;

    // A hidden window that receives callbacks until it is destroyed; never 0.
    virtual WindowHandle CreateMessageWindow(WindowProc proc) = 0;
    virtual void DestroyMessageWindow(WindowHandle window) = 0;

    // Adds, changes or removes the icon (hWnd, uID). False when the call could not be carried
    // out: an add of an icon that is there, a change or a removal of one that is not.
    virtual bool NotifyIcon(NotifyMessage message, const NotifyIconData& data) = 0;

    // The longest time in milliseconds between the two presses of a double click.
    virtual int DoubleClickTime() const = 0;
    // The mouse pointer's position in screen coordinates.
    virtual QPoint CursorPos() const = 0;
    // Gives the icon (window, id) the menu that a tray host which draws menus itself offers on a
    // right click; nullptr for none. Other hosts report the right press, and the icon's owner
    // decides what it means.
    virtual void SetIconMenu(WindowHandle window, std::uint32_t id, QMenu* menu) = 0;
    // Whether a notification area shows the icon (window, id) at this moment, where the user can
    // click it. An icon that a host there is taking in is waited for, for at most patience. An
    // icon added while no host is there appears as soon as one starts.
    virtual bool IconShown(WindowHandle window, std::uint32_t id, std::chrono::milliseconds patience) = 0;
};

} // namespace platform
