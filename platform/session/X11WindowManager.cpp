#include "platform/session/X11WindowManager.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace platform {

namespace {

std::optional<xcb_atom_t> Atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 1, std::uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return std::nullopt;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    if (atom == XCB_ATOM_NONE)
        return std::nullopt;
    return atom;
}

// The window a WINDOW property of window names, if it holds one.
std::optional<xcb_window_t> WindowProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    const auto cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_WINDOW, 0, 1);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (!reply)
        return std::nullopt;
    std::optional<xcb_window_t> named;
    if (reply->type == XCB_ATOM_WINDOW && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        named = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return named;
}

} // namespace

bool X11WindowManager::CanIconify() const
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return true;
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const auto check = Atom(connection, "_NET_SUPPORTING_WM_CHECK");
    if (!screen || !check)
        return false;
    // The root names the manager's own window, which names itself: a property that a manager
    // left behind when it ended names a window that is gone.
    const auto manager = WindowProperty(connection, screen->root, *check);
    return manager && WindowProperty(connection, *manager, *check) == manager;
}

} // namespace platform
