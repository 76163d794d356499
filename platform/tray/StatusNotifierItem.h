#pragma once

#include "platform/tray/TrayIconView.h"

#include <QDBusConnection>
#include <QString>

namespace platform {

class DBusMenu;
class ExportedItem;

// The icon as an org.kde.StatusNotifierItem on the session bus, with its menu exported beside it
// (com.canonical.dbusmenu), for the status-notifier host that org.kde.StatusNotifierWatcher
// knows of. It follows the watcher as it comes, goes and restarts, and registers the icon with
// each new one while shown. Hosts' requests arrive as presses: Activate as a left press,
// SecondaryActivate as a middle one, ContextMenu as a right one. Without a session bus it never
// finds a host.
class StatusNotifierItem final : public TrayIconView {
    Q_OBJECT
public:
    explicit StatusNotifierItem(QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    void SetIcon(const QIcon& icon) override;
    void SetToolTip(const QString& tip) override;
    void SetMenu(QMenu* menu) override;
    void Show() override;
    void Hide() override;
    // Registered with the watcher on the bus now.
    bool Shown() const override;
    // A watcher is on the bus and says a host has registered with it.
    bool HostAvailable() const override;

private slots:
    // Asks the watcher whether a host has registered with it; the answer comes later.
    void AskForHost();

private:
    void WatcherChanged(const QString& owner);
    void Register();
    void SetRegistered(bool registered);
    void SetHostRegistered(bool registered);

    int number_; // tells the icons of the program apart on the bus
    QDBusConnection bus_;
    QString service_; // the name the icon is registered by
    ExportedItem* item_;
    DBusMenu* menu_;
    QString watcher_; // the watcher's unique name on the bus; empty while there is none
    bool hostRegistered_ = false;
    bool wanted_ = false; // between Show and Hide
    bool registered_ = false;
};

} // namespace platform
