#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The first count values of a property of window made of 32-bit values of type (WINDOW,
// CARDINAL, VISUALID, ...); nothing when the window does not have it in that form, or holds
// fewer values.
std::optional<std::vector<std::uint32_t>> Property32(xcb_connection_t* connection, xcb_window_t window,
                                                     xcb_atom_t property, xcb_atom_t type, std::uint32_t count);

// A property of window made of 8-bit characters of type (STRING, UTF8_STRING), whole; nothing
// when the window does not have it in that form.
std::optional<std::string> PropertyText(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                                        xcb_atom_t type);

// A visual of the server's, with the depth it has on its screen.
struct Visual {
    const xcb_visualtype_t* type;
    std::uint8_t depth;
};

// The visual id names on any screen of the server; nothing when none has it.
std::optional<Visual> FindVisual(xcb_connection_t* connection, xcb_visualid_t id);

} // namespace platform
