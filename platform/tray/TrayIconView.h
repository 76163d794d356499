#pragma once

#include <QObject>

#include <cstdint>

class QIcon;
class QMenu;
class QString;

namespace platform {

// One icon as one kind of tray host shows it (the XEmbed system tray, or a status-notifier host
// on the session bus). The notification area keeps one of each per icon and shows the icon in
// whichever kind of host is there now.
class TrayIconView : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void SetIcon(const QIcon& icon) = 0;
    virtual void SetToolTip(const QString& tip) = 0;
    // The menu a host that draws menus itself offers on a right click; nullptr for none. A host
    // that asks the icon for its menu instead is answered with a right press (Pressed).
    virtual void SetMenu(QMenu* menu) = 0;

    // Show: put the icon into this kind of host now, and again whenever a host of this kind
    // appears or restarts, until Hide.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Whether the icon is in a host of this kind at this moment.
    virtual bool Shown() const = 0;
    // Whether a host of this kind is there at this moment, shown in or not.
    virtual bool HostAvailable() const = 0;
    // Whether this kind of host is still being looked for, for a bounded time, so that whether
    // one is there is not known yet.
    virtual bool HostPending() const { return false; }

signals:
    // The mouse messages of a notification area: WM_LBUTTONDOWN, WM_LBUTTONDBLCLK,
    // WM_RBUTTONDOWN, WM_RBUTTONDBLCLK or WM_MBUTTONDOWN.
    void Pressed(std::intptr_t mouseMessage);
    // A host of this kind appeared, went or restarted, or the icon went into or out of one.
    void HostChanged();
};

} // namespace platform
