#pragma once

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QImage>
#include <QThread>

#include <xcb/xcb.h>

#include <cstdlib>

namespace doubles {

// What the X server itself shows, asked over Qt's own connection without letting Qt handle a
// single event: for tests that run on an X server (the e2e.x11 test) and skip themselves
// elsewhere.
class X11Screen {
public:
    X11Screen()
    {
        const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        connection_ = x11 ? x11->connection() : nullptr;
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
        const QDeadlineTimer deadline(5000);
        for (;;) {
            xcb_get_window_attributes_reply_t* attributes =
                xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr);
            const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attributes);
            if (viewable || deadline.hasExpired())
                return viewable;
            QThread::msleep(5);
        }
    }

    // The pixels the server shows in the window's top-left size, as 32-bit RGB.
    QImage Pixels(xcb_window_t window, QSize size) const
    {
        xcb_get_image_reply_t* image =
            xcb_get_image_reply(connection_,
                                xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                              std::uint16_t(size.width()), std::uint16_t(size.height()), ~0u),
                                nullptr);
        QImage pixels;
        if (image && xcb_get_image_data_length(image) == size.width() * size.height() * 4)
            pixels = QImage(xcb_get_image_data(image), size.width(), size.height(), QImage::Format_RGB32).copy();
        std::free(image);
        return pixels;
    }

private:
    xcb_connection_t* connection_ = nullptr;
};

} // namespace doubles
