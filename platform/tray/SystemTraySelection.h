#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <xcb/xcb.h>

namespace platform {

// The XEmbed system tray of Qt's X screen: the window that owns the selection
// _NET_SYSTEM_TRAY_S<screen> now, followed as trays start (they announce themselves with a
// MANAGER message on the root window) and end (the owner window is destroyed). Off X11 there is
// never a tray.
class SystemTraySelection final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit SystemTraySelection(QObject* parent = nullptr);
    ~SystemTraySelection() override;

    bool Present() const { return owner_ != XCB_WINDOW_NONE; }
    xcb_window_t Root() const { return root_; }
    // Whether the tray wants its icons drawn with an alpha channel: the visual it names in
    // _NET_SYSTEM_TRAY_VISUAL is 32 bits deep.
    bool OffersAlphaVisual() const;
    // Asks the tray to embed window (SYSTEM_TRAY_REQUEST_DOCK). A tray that has just ended
    // cannot take the request; the notice of its end follows.
    void RequestDock(xcb_window_t window) const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // Another tray owns the selection now, or none does.
    void OwnerChanged();

private:
    void Refresh();
    xcb_window_t WatchedOwner() const;

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_atom_t selection_ = XCB_ATOM_NONE;
    xcb_atom_t manager_ = XCB_ATOM_NONE;
    xcb_atom_t opcode_ = XCB_ATOM_NONE;
    xcb_atom_t visual_ = XCB_ATOM_NONE;
    xcb_window_t owner_ = XCB_WINDOW_NONE;
};

} // namespace platform
