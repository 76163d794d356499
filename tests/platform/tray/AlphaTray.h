#pragma once

#include "platform/x11/Xcb.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <vector>

// An XEmbed tray of the test's own, on a connection of its own, that offers its icons a 32-bit
// visual (_NET_SYSTEM_TRAY_VISUAL) as trays do that compose their icons with an alpha channel;
// trayer offers none. It takes in every window that asks to dock, at its top-left corner, once
// it takesIcons, and ends when destroyed. It can misbehave with an icon's window in every way a
// program on the same display can.
class AlphaTray {
public:
    AlphaTray()
        : connection_(xcb_connect(nullptr, nullptr))
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        const xcb_visualid_t visual = AlphaVisual(screen);
        if (visual == XCB_NONE)
            return;
        const xcb_colormap_t colormap = xcb_generate_id(connection_);
        xcb_create_colormap(connection_, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root, visual);
        window_ = xcb_generate_id(connection_);
        // Opaque blue; its property changes tell the server's time.
        const std::uint32_t values[] = {0xff0000ff, 0, XCB_EVENT_MASK_PROPERTY_CHANGE, colormap};
        xcb_create_window(connection_, 32, window_, screen->root, 300, 300, 64, 32, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          visual, XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP,
                          values);
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, Atom("_NET_SYSTEM_TRAY_VISUAL"),
                            XCB_ATOM_VISUALID, 32, 1, &visual);
        xcb_map_window(connection_, window_);
        const xcb_atom_t selection = Atom("_NET_SYSTEM_TRAY_S0");
        xcb_set_selection_owner(connection_, window_, selection, XCB_CURRENT_TIME);
        const xcb_client_message_event_t announcement =
            platform::MakeClientMessage(screen->root, Atom("MANAGER"), {XCB_CURRENT_TIME, selection, window_});
        xcb_send_event(connection_, 0, screen->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&announcement));
        opcode_ = Atom("_NET_SYSTEM_TRAY_OPCODE");
        xcb_flush(connection_);
    }
    ~AlphaTray() { xcb_disconnect(connection_); }

    bool Running() const { return window_ != XCB_WINDOW_NONE; }

    // Takes in the windows that asked to dock since the last call.
    void Serve()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_))
            Handle(event);
        for (; takesIcons && !waiting_.empty(); waiting_.pop_front()) {
            const xcb_window_t icon = waiting_.front();
            // Handed back to the root window, not destroyed, when the tray ends.
            xcb_change_save_set(connection_, XCB_SET_MODE_INSERT, icon);
            xcb_reparent_window(connection_, icon, window_, 0, 0);
            xcb_map_window(connection_, icon);
            taken_.push_back(icon);
        }
        xcb_flush(connection_);
    }
    // The X server's time now.
    std::uint32_t ServerTime()
    {
        xcb_change_property(connection_, XCB_PROP_MODE_APPEND, window_, Atom("WM_NAME"), XCB_ATOM_STRING, 8, 0,
                            nullptr);
        xcb_flush(connection_);
        while (xcb_generic_event_t* event = xcb_wait_for_event(connection_)) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                const std::uint32_t time = reinterpret_cast<const xcb_property_notify_event_t*>(event)->time;
                std::free(event);
                return time;
            }
            Handle(event);
        }
        return XCB_CURRENT_TIME;
    }
    // The windows taken in, the latest last.
    const std::vector<xcb_window_t>& Taken() const { return taken_; }

    void Resize(xcb_window_t icon, std::uint32_t width, std::uint32_t height)
    {
        const std::uint32_t size[] = {width, height};
        xcb_configure_window(connection_, icon, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
        xcb_flush(connection_);
    }
    void Destroy(xcb_window_t icon)
    {
        xcb_destroy_window(connection_, icon);
        xcb_flush(connection_);
    }
    void Unmap(xcb_window_t icon)
    {
        xcb_unmap_window(connection_, icon);
        xcb_flush(connection_);
    }
    // As a window manager asks a window to close: WM_DELETE_WINDOW.
    void AskToClose(xcb_window_t icon) { Send(icon, Atom("WM_PROTOCOLS"), {Atom("WM_DELETE_WINDOW"), 0}); }
    // An XEMBED message stamped with time.
    void SendXEmbed(xcb_window_t icon, std::uint32_t time, std::uint32_t message)
    {
        Send(icon, Atom("_XEMBED"), {time, message});
    }

    bool takesIcons = true;

private:
    void Handle(xcb_generic_event_t* event)
    {
        const auto* request = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE && request->type == opcode_
            && request->data.data32[1] == 0)
            waiting_.push_back(request->data.data32[2]);
        std::free(event);
    }
    void Send(xcb_window_t icon, xcb_atom_t type, std::initializer_list<std::uint32_t> data)
    {
        const xcb_client_message_event_t message = platform::MakeClientMessage(icon, type, data);
        xcb_send_event(connection_, 0, icon, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }
    xcb_atom_t Atom(const QByteArray& name) const
    {
        const auto reply = platform::Owned(xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, std::uint16_t(name.size()), name.constData()), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    static xcb_visualid_t AlphaVisual(const xcb_screen_t* screen)
    {
        for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths))
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals))
                if (depths.data->depth == 32 && visuals.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR)
                    return visuals.data->visual_id;
        return XCB_NONE;
    }

    xcb_connection_t* connection_;
    xcb_window_t window_ = XCB_WINDOW_NONE;
    xcb_atom_t opcode_ = XCB_ATOM_NONE;
    std::deque<xcb_window_t> waiting_; // asked to dock, not taken in yet
    std::vector<xcb_window_t> taken_;
};
