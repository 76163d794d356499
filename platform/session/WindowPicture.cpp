#include "platform/session/WindowPicture.h"

#include "platform/x11/Properties.h"
#include "platform/x11/Xcb.h"

#include <QImage>
#include <QWidget>

#include <algorithm>

namespace platform {

namespace {

// The visual of the window when its pixels are 32-bit words of 8-bit blue, green and red from the
// lowest byte up, as QImage::Format_RGB32 lays them out on this machine's byte order.
bool HasRgb32Pixels(xcb_connection_t* connection, xcb_window_t window, std::uint8_t depth)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || (depth != 24 && depth != 32))
        return false;
    bool wordPixels = false;
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem; xcb_format_next(&format))
        if (format.data->depth == depth)
            wordPixels = format.data->bits_per_pixel == 32 && format.data->scanline_pad == 32;
    if (!wordPixels)
        return false;
    const auto attributes =
        Owned(xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr));
    if (!attributes)
        return false;
    const auto visual = FindVisual(connection, attributes->visual);
    return visual && visual->type->red_mask == 0xff0000 && visual->type->green_mask == 0x00ff00
        && visual->type->blue_mask == 0x0000ff;
}

} // namespace

bool SetWindowPicture(QWidget& window, const QImage& picture)
{
    xcb_connection_t* connection = QtXcbConnection();
    if (!connection || picture.isNull() || !window.isWindow())
        return false;
    const auto id = xcb_window_t(window.winId());
    const auto geometry = Owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr));
    if (!geometry || picture.size() != QSize(geometry->width, geometry->height)
        || !HasRgb32Pixels(connection, id, geometry->depth))
        return false;

    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    const xcb_pixmap_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, geometry->depth, pixmap, id, geometry->width, geometry->height);
    const xcb_gcontext_t context = xcb_generate_id(connection);
    xcb_create_gc(connection, context, pixmap, 0, nullptr);
    // In bands of rows that each fit into one request, leaving room for the request's header.
    const std::size_t requestBytes = std::size_t(xcb_get_maximum_request_length(connection)) * 4 - 64;
    const int rows = std::max(1, int(requestBytes / std::size_t(pixels.bytesPerLine())));
    for (int top = 0; top < pixels.height(); top += rows) {
        const int band = std::min(rows, pixels.height() - top);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, context, std::uint16_t(pixels.width()),
                      std::uint16_t(band), 0, std::int16_t(top), 0, geometry->depth,
                      std::uint32_t(band * pixels.bytesPerLine()), pixels.constScanLine(top));
    }
    const std::uint32_t background = pixmap;
    xcb_change_window_attributes(connection, id, XCB_CW_BACK_PIXMAP, &background);
    // The window keeps the picture; the names go.
    xcb_free_gc(connection, context);
    xcb_free_pixmap(connection, pixmap);
    xcb_flush(connection);
    return true;
}

} // namespace platform
