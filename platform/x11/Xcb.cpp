#include "platform/x11/Xcb.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdint>

namespace platform {

std::optional<xcb_atom_t> Atom(xcb_connection_t* connection, std::string_view name, bool onlyIfExists)
{
    const auto cookie = xcb_intern_atom(connection, onlyIfExists, std::uint16_t(name.size()), name.data());
    const auto reply = Owned(xcb_intern_atom_reply(connection, cookie, nullptr));
    if (!reply || reply->atom == XCB_ATOM_NONE)
        return std::nullopt;
    return reply->atom;
}

xcb_client_message_event_t MakeClientMessage(xcb_window_t window, xcb_atom_t type,
                                             std::initializer_list<std::uint32_t> data)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy_n(data.begin(), std::min<std::size_t>(data.size(), 5), message.data.data32);
    return message;
}

int QtScreenNumber()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 && x11->display() ? DefaultScreen(x11->display()) : 0;
}

const xcb_screen_t* QtRootScreen(xcb_connection_t* connection)
{
    int number = QtScreenNumber();
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem; xcb_screen_next(&screens))
        if (number-- == 0)
            return screens.data;
    return nullptr;
}

} // namespace platform
