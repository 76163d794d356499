#include "platform/tray/XEmbedIconWindow.h"

#include "platform/NotificationArea.h"
#include "platform/tray/TrayLog.h"
#include "platform/x11/Xcb.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace platform {

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
    resize(minimumSize());
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

bool XEmbedIconWindow::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !internalWinId())
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_REPARENT_NOTIFY)
        return false;
    // The window's own notice, not the copies its old and new parents' watchers get.
    const auto* reparent = reinterpret_cast<const xcb_reparent_notify_event_t*>(event);
    if (reparent->window == internalWinId() && reparent->event == reparent->window)
        emit Embedded(reparent->parent != root_);
    return false;
}

// What the server shows as the window's background now: the tray's, with a parent-relative
// background.
QPixmap XEmbedIconWindow::TrayBackground()
{
    xcb_clear_area(QtXcbConnection(), 0, xcb_window_t(winId()), 0, 0, 0, 0);
    return screen()->grabWindow(winId());
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
