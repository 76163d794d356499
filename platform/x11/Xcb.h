#pragma once

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>

namespace platform {

// Qt's own connection to the X server; none when the program does not run on X.
inline xcb_connection_t* QtXcbConnection()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// A reply of the X server, freed when it goes out of scope.
template <typename Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> XcbReply<Reply> Owned(Reply* reply)
{
    return XcbReply<Reply>(reply, &std::free);
}

// The atom of name; with onlyIfExists false it is made when nobody has named it yet.
std::optional<xcb_atom_t> Atom(xcb_connection_t* connection, std::string_view name, bool onlyIfExists = true);

// A client message about window, of up to five 32-bit values, as the window manager and tray
// protocols send them.
xcb_client_message_event_t MakeClientMessage(xcb_window_t window, xcb_atom_t type,
                                             std::initializer_list<std::uint32_t> data);

// The number of the X screen Qt shows its windows on: the default screen of its display.
int QtScreenNumber();
// That screen, with its root window; nullptr when there is none.
const xcb_screen_t* QtRootScreen(xcb_connection_t* connection);

} // namespace platform
