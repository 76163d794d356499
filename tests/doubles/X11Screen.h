#pragma once

#include "platform/x11/Xcb.h"

#include "doubles/WaitFor.h"

#include <QImage>

#include <chrono>

namespace doubles {

// What the X server itself shows, asked over Qt's own connection without letting Qt handle a
// single event: for tests that run on an X server (the e2e.x11 test) and skip themselves
// elsewhere.
class X11Screen {
public:
    X11Screen()
        : connection_(platform::QtXcbConnection())
    {
    }

    bool Available() const { return connection_ != nullptr; }
    xcb_connection_t* Connection() const { return connection_; }

    // Maps the window or unmaps it, as a window manager would, and sends what is asked so far.
    void Map(xcb_window_t window) const { xcb_map_window(connection_, window); }
    void Unmap(xcb_window_t window) const { xcb_unmap_window(connection_, window); }
    void Flush() const { xcb_flush(connection_); }

    // Waits up to five seconds for the window to be viewable.
    bool WaitViewable(xcb_window_t window) const
    {
        return WaitFor(
            [&] {
                const auto attributes = platform::Owned(xcb_get_window_attributes_reply(
                    connection_, xcb_get_window_attributes(connection_, window), nullptr));
                return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            },
            std::chrono::seconds(5), std::chrono::milliseconds(5));
    }

    // The pixels the server shows in the window's top-left size, as 32-bit RGB.
    QImage Pixels(xcb_window_t window, QSize size) const
    {
        const auto image = platform::Owned(
            xcb_get_image_reply(connection_,
                                xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                              std::uint16_t(size.width()), std::uint16_t(size.height()), ~0u),
                                nullptr));
        if (!image || xcb_get_image_data_length(image.get()) != size.width() * size.height() * 4)
            return {};
        return QImage(xcb_get_image_data(image.get()), size.width(), size.height(), QImage::Format_RGB32).copy();
    }

private:
    xcb_connection_t* connection_ = nullptr;
};

} // namespace doubles
