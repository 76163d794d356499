#include "platform/x11/Properties.h"

#include "platform/x11/Xcb.h"

namespace platform {

std::optional<std::vector<std::uint32_t>> Property32(xcb_connection_t* connection, xcb_window_t window,
                                                     xcb_atom_t property, xcb_atom_t type, std::uint32_t count)
{
    const auto cookie = xcb_get_property(connection, 0, window, property, type, 0, count);
    const auto reply = Owned(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->type != type || reply->format != 32
        || std::uint32_t(xcb_get_property_value_length(reply.get())) < count * 4)
        return std::nullopt;
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<std::uint32_t>(values, values + count);
}

std::optional<std::string> PropertyText(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                                        xcb_atom_t type)
{
    constexpr std::uint32_t MaxWords = 1024; // far more than a name needs
    const auto cookie = xcb_get_property(connection, 0, window, property, type, 0, MaxWords);
    const auto reply = Owned(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->type != type || reply->format != 8)
        return std::nullopt;
    const auto* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(text, std::size_t(xcb_get_property_value_length(reply.get())));
}

std::optional<Visual> FindVisual(xcb_connection_t* connection, xcb_visualid_t id)
{
    for (auto screen = xcb_setup_roots_iterator(xcb_get_setup(connection)); screen.rem; xcb_screen_next(&screen))
        for (auto depths = xcb_screen_allowed_depths_iterator(screen.data); depths.rem; xcb_depth_next(&depths))
            for (auto visual = xcb_depth_visuals_iterator(depths.data); visual.rem; xcb_visualtype_next(&visual))
                if (visual.data->visual_id == id)
                    return Visual{visual.data, depths.data->depth};
    return std::nullopt;
}

} // namespace platform
