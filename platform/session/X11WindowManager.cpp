#include "platform/session/X11WindowManager.h"

#include "platform/session/Xcb.h"

#include <cstdint>
#include <cstring>
#include <optional>

namespace platform {

namespace {

std::optional<xcb_atom_t> Atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 1, std::uint16_t(std::strlen(name)), name);
    const auto reply = Owned(xcb_intern_atom_reply(connection, cookie, nullptr));
    if (!reply || reply->atom == XCB_ATOM_NONE)
        return std::nullopt;
    return reply->atom;
}

// The window a WINDOW property of window names, if it holds one.
std::optional<xcb_window_t> WindowProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    const auto cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_WINDOW, 0, 1);
    const auto reply = Owned(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32
        || xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

} // namespace

bool X11WindowManager::CanIconify() const
{
    xcb_connection_t* connection = QtXcbConnection();
    if (!connection)
        return true;
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
