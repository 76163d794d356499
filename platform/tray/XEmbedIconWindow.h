#pragma once

#include <QAbstractNativeEventFilter>
#include <QIcon>
#include <QPixmap>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdint>

namespace platform {

// The small window of one tray icon that an XEmbed tray takes in: it draws the icon at the size
// the tray gives it, up to MaxSize, shows the tip on hover and reports mouse presses as the mouse
// messages of a notification area. What the tray sends it is checked before Qt acts on it: a
// larger size is taken as MaxSize, and an XEMBED message stamped with a time the X server cannot
// have reached yet carries the current time instead.
class XEmbedIconWindow final : public QWidget, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // The largest size the icon is drawn at, in pixels each way; tray icons are far smaller.
    static constexpr int MaxSize = 256;

    // alpha: the tray composes its icons with an alpha channel, so the window is drawn
    // transparent around the icon; otherwise it is drawn over the tray's own background.
    XEmbedIconWindow(xcb_window_t root, bool alpha);
    ~XEmbedIconWindow() override;

    void SetIcon(const QIcon& icon);
    // Shows the window inside the tray that took it in.
    void ShowEmbedded();
    // Whether the X server shows the window now: it and every window it lies in are mapped.
    bool Viewable() const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void Pressed(std::intptr_t mouseMessage);
    // A tray took the window in (true), or it is back on the root window (false): the tray let
    // it go or ended.
    void Embedded(bool embedded);
    // The tray is done with the window while it was embedded: it destroyed it, asked it to
    // close or unmapped it.
    void Lost();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Report(Qt::MouseButton button, bool secondPress);
    QPixmap TrayBackground();
    void NoteServerTime(const xcb_generic_event_t* event);
    void ClampSize(xcb_configure_notify_event_t* configure);
    void CheckTime(xcb_client_message_event_t* message);

    xcb_window_t root_;
    bool alpha_;
    xcb_atom_t xembed_ = XCB_ATOM_NONE;
    bool embedded_ = false;
    xcb_timestamp_t serverTime_ = XCB_CURRENT_TIME; // the latest the server stamped an event with
    bool sizeClamped_ = false; // said once per window, however often the tray insists
    bool timeReplaced_ = false;
    QIcon icon_;
    QPixmap background_; // what the tray shows behind the window, taken before the first paint
};

} // namespace platform
