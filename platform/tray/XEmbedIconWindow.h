#pragma once

#include <QAbstractNativeEventFilter>
#include <QIcon>
#include <QPixmap>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdint>

namespace platform {

// The small window of one tray icon that an XEmbed tray takes in: it draws the icon at whatever
// size the tray gives it, shows the tip on hover and reports mouse presses as the mouse
// messages of a notification area.
class XEmbedIconWindow final : public QWidget, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // alpha: the tray composes its icons with an alpha channel, so the window is drawn
    // transparent around the icon; otherwise it is drawn over the tray's own background.
    XEmbedIconWindow(xcb_window_t root, bool alpha);
    ~XEmbedIconWindow() override;

    void SetIcon(const QIcon& icon);
    // Shows the window inside the tray that took it in.
    void ShowEmbedded();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void Pressed(std::intptr_t mouseMessage);
    // A tray took the window in (true), or it is back on the root window (false): the tray let
    // it go or ended.
    void Embedded(bool embedded);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Report(Qt::MouseButton button, bool secondPress);
    QPixmap TrayBackground();

    xcb_window_t root_;
    bool alpha_;
    QIcon icon_;
    QPixmap background_; // what the tray shows behind the window, taken before the first paint
};

} // namespace platform
