#include "platform/tray/XEmbedIconWindow.h"

#include "platform/NotificationArea.h"
#include "platform/tray/TrayLog.h"
#include "platform/x11/Xcb.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace platform {

namespace {

// Whether stamp may be a time the X server has reached, given the latest time it stamped an event
// with: not after it, nor so long before it that the server's 32-bit clock would read it as
// later. A time after it may be real, but nothing shows it is.
bool PlausibleTime(xcb_timestamp_t stamp, xcb_timestamp_t serverTime)
{
    constexpr std::uint32_t LongestPast = 1u << 30; // about twelve days in milliseconds
    return stamp == XCB_CURRENT_TIME || (serverTime != XCB_CURRENT_TIME && serverTime - stamp < LongestPast);
}

} // namespace

XEmbedIconWindow::XEmbedIconWindow(xcb_window_t root, bool alpha)
    : QWidget(nullptr,
              Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus)
    , root_(root)
    , alpha_(alpha)
{
    setAttribute(Qt::WA_TranslucentBackground, alpha);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setAttribute(Qt::WA_QuitOnClose, false);
    // The usual size of a tray icon, which trays that size their icons by the icon's own hints
    // take; others give it theirs.
    setMinimumSize(22, 22);
    setMaximumSize(MaxSize, MaxSize);
    resize(minimumSize());
    xembed_ = Atom(QtXcbConnection(), "_XEMBED", false).value_or(XCB_ATOM_NONE);
    QCoreApplication::instance()->installNativeEventFilter(this);
    // The window exists from now on, to be named in a dock request. Qt gives every window it
    // makes the _XEMBED_INFO property a tray reads before it embeds one.
    winId();
}

XEmbedIconWindow::~XEmbedIconWindow()
{
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

void XEmbedIconWindow::SetIcon(const QIcon& icon)
{
    icon_ = icon;
    update();
}

void XEmbedIconWindow::ShowEmbedded()
{
    xcb_connection_t* connection = QtXcbConnection();
    const auto window = xcb_window_t(winId());
    if (!alpha_) {
        // Where the icon leaves the window bare, the tray's background shows, lined up with the
        // tray around it. A parent of another depth refuses this; the window then shows what
        // the tray drew before it.
        const std::uint32_t parentRelative = XCB_BACK_PIXMAP_PARENT_RELATIVE;
        if (Owned(xcb_request_check(
                connection,
                xcb_change_window_attributes_checked(connection, window, XCB_CW_BACK_PIXMAP, &parentRelative))))
            qCDebug(trayLog) << "The XEmbed tray's window is of another depth: the icon is drawn over a copy of it";
    }
    background_ = QPixmap();
    show();
    // The tray may have had Qt map the window before it was shown, so that Qt drew nothing then:
    // the server reports the whole window exposed again.
    xcb_clear_area(connection, 1, window, 0, 0, 0, 0);
    xcb_flush(connection);
}

bool XEmbedIconWindow::Viewable() const
{
    xcb_connection_t* connection = QtXcbConnection();
    xcb_generic_error_t* gone = nullptr; // the tray may have destroyed the window
    const auto attributes = Owned(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, xcb_window_t(internalWinId())), &gone));
    std::free(gone);
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

// Only the window's own notices count, not the copies its parents' watchers get.
bool XEmbedIconWindow::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !internalWinId())
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const auto window = xcb_window_t(internalWinId());
    NoteServerTime(event);
    switch (event->response_type & 0x7f) {
    case XCB_REPARENT_NOTIFY: {
        const auto* reparent = reinterpret_cast<const xcb_reparent_notify_event_t*>(event);
        if (reparent->window == window && reparent->event == window) {
            embedded_ = reparent->parent != root_;
            emit Embedded(embedded_);
        }
        break;
    }
    case XCB_CONFIGURE_NOTIFY: {
        auto* configure = reinterpret_cast<xcb_configure_notify_event_t*>(event);
        if (configure->window == window && configure->event == window)
            ClampSize(configure);
        break;
    }
    case XCB_CLIENT_MESSAGE: {
        auto* clientMessage = reinterpret_cast<xcb_client_message_event_t*>(event);
        if (clientMessage->window == window && clientMessage->type == xembed_ && clientMessage->format == 32)
            CheckTime(clientMessage);
        break;
    }
    case XCB_UNMAP_NOTIFY: {
        // This program hides the window before it unmaps it; the tray does not.
        const auto* unmap = reinterpret_cast<const xcb_unmap_notify_event_t*>(event);
        if (unmap->window == window && unmap->event == window && embedded_ && isVisible())
            emit Lost();
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto* destroy = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        if (destroy->window == window && destroy->event == window)
            emit Lost();
        break;
    }
    }
    return false;
}

// The times of input and property events as the server makes them: a copy another program sent
// (its type has the high bit set) may carry any time, as may the other events.
void XEmbedIconWindow::NoteServerTime(const xcb_generic_event_t* event)
{
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    const std::uint8_t type = event->response_type;
    if (type >= XCB_KEY_PRESS && type <= XCB_LEAVE_NOTIFY)
        time = reinterpret_cast<const xcb_key_press_event_t*>(event)->time;
    else if (type == XCB_PROPERTY_NOTIFY)
        time = reinterpret_cast<const xcb_property_notify_event_t*>(event)->time;
    if (time != XCB_CURRENT_TIME && (serverTime_ == XCB_CURRENT_TIME || std::int32_t(time - serverTime_) > 0))
        serverTime_ = time;
}

// A window as large as a tray asks would cost the memory of a picture of that size.
void XEmbedIconWindow::ClampSize(xcb_configure_notify_event_t* configure)
{
    if (configure->width <= MaxSize && configure->height <= MaxSize)
        return;
    if (!std::exchange(sizeClamped_, true))
        qCWarning(trayLog).nospace() << "The XEmbed tray sized the icon " << configure->width << "x"
                                     << configure->height << "; it is drawn at " << MaxSize << " pixels at most";
    configure->width = std::min<std::uint16_t>(configure->width, MaxSize);
    configure->height = std::min<std::uint16_t>(configure->height, MaxSize);
}

// Qt takes an XEMBED message's time as the server's, and asks for the focus with it later: a
// time ahead of the server's would have every such request ignored.
void XEmbedIconWindow::CheckTime(xcb_client_message_event_t* message)
{
    xcb_timestamp_t& stamp = message->data.data32[0];
    if (PlausibleTime(stamp, serverTime_))
        return;
    if (!std::exchange(timeReplaced_, true))
        qCDebug(trayLog) << "The XEmbed tray stamped a message with time" << stamp << "while the latest known is"
                         << serverTime_ << ": it is taken with the current time";
    stamp = XCB_CURRENT_TIME;
}

// What the server shows as the window's background now: the tray's, with a parent-relative
// background.
QPixmap XEmbedIconWindow::TrayBackground()
{
    xcb_clear_area(QtXcbConnection(), 0, xcb_window_t(winId()), 0, 0, 0, 0);
    // The size Qt knows, at most MaxSize: the server's may be the tray's larger one.
    return screen()->grabWindow(winId(), 0, 0, width(), height());
}

void XEmbedIconWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!alpha_) {
        if (background_.isNull())
            background_ = TrayBackground();
        painter.drawPixmap(0, 0, background_);
    }
    icon_.paint(&painter, rect());
}

void XEmbedIconWindow::resizeEvent(QResizeEvent* event)
{
    background_ = QPixmap();
    QWidget::resizeEvent(event);
}

void XEmbedIconWindow::moveEvent(QMoveEvent* event)
{
    background_ = QPixmap();
    QWidget::moveEvent(event);
}

void XEmbedIconWindow::mousePressEvent(QMouseEvent* event)
{
    Report(event->button(), false);
}

void XEmbedIconWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    Report(event->button(), true);
}

// A tray may ask its icons to close, as a window manager asks windows: the window stays, and its
// owner learns that the tray is done with it.
void XEmbedIconWindow::closeEvent(QCloseEvent* event)
{
    if (!event->spontaneous())
        return QWidget::closeEvent(event);
    event->ignore();
    emit Lost();
}

void XEmbedIconWindow::Report(Qt::MouseButton button, bool secondPress)
{
    switch (button) {
    case Qt::LeftButton: emit Pressed(secondPress ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN); break;
    case Qt::RightButton: emit Pressed(secondPress ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN); break;
    // There is no middle double-click message among those reported: a second press is a press.
    case Qt::MiddleButton: emit Pressed(WM_MBUTTONDOWN); break;
    default: break;
    }
}

} // namespace platform
