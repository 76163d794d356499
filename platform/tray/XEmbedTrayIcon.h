#pragma once

#include "platform/tray/TrayIconView.h"

#include <QIcon>
#include <QString>
#include <QTimer>

namespace platform {

class SystemTraySelection;
class XEmbedIconWindow;

// The icon in the XEmbed system tray of the X screen (_NET_SYSTEM_TRAY_S<n>): a small window of
// its own that the tray embeds, docked again whenever a tray takes the selection, and in a new
// window when the tray destroys, closes or unmaps the one it had.
class XEmbedTrayIcon final : public TrayIconView {
    Q_OBJECT
public:
    explicit XEmbedTrayIcon(QObject* parent = nullptr);
    ~XEmbedTrayIcon() override;

    void SetIcon(const QIcon& icon) override;
    void SetToolTip(const QString& tip) override;
    // XEmbed trays draw no menus: the right press reaches the icon's owner, which opens its own.
    void SetMenu(QMenu* menu) override;
    void Show() override;
    void Hide() override;
    // Embedded in the tray, and shown by the X server there.
    bool Shown() const override;
    bool HostAvailable() const override;

private:
    void Dock();
    void Undock();
    void TrayChanged();
    void WindowEmbedded(bool embedded);
    void WindowLost();

    SystemTraySelection* tray_ = nullptr; // none off X11
    XEmbedIconWindow* window_ = nullptr; // the window offered to the current tray, if any
    QIcon icon_;
    QString tip_;
    QTimer redock_; // after a lost window, so that a tray that ends every icon is not kept busy
    bool wanted_ = false; // between Show and Hide
    bool embedded_ = false;
};

} // namespace platform
