#pragma once

#include "platform/tray/TrayIconView.h"

#include <QDBusConnection>
#include <QString>
#include <QTimer>

#include <functional>

namespace platform {

class BackgroundBusConnection;
class DBusMenu;
class ExportedItem;

// The icon as an org.kde.StatusNotifierItem on the session bus, with its menu exported beside it
// (com.canonical.dbusmenu), for the status-notifier host that org.kde.StatusNotifierWatcher
// knows of. It follows the watcher as it comes, goes and restarts, and registers the icon with
// each new one while shown. Hosts' requests arrive as presses: Activate as a left press,
// SecondaryActivate as a middle one, ContextMenu as a right one. Without a session bus it never
// finds a host. Nothing here waits for the bus: it is connected to on a thread of its own, and
// every question to the watcher is answered later, or not within a bounded time, which counts
// as a refusal. A watcher that refused the icon counts as one without a host until it restarts
// or, some time after it refused, announces a host again.
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
    // A watcher is on the bus, says a host has registered with it, and has not refused the icon.
    bool HostAvailable() const override;
    // Connecting to the bus, or waiting for the first answers of a new watcher.
    bool HostPending() const override;

private slots:
    // The watcher announced that a host came or went.
    void HostAnnounced();

private:
    void Connected(const QDBusConnection& bus);
    // Sends call and hands its reply, or the error it ended in, to answered.
    void Call(const QDBusMessage& call, int timeout, std::function<void(const QDBusMessage&)> answered);
    void TakeName();
    void WatcherChanged(const QString& owner);
    // Asks the watcher whether a host has registered with it: one question at a time, and once
    // more after it for all the reasons to ask that came meanwhile.
    void AskForHost();
    void HostAnswered(bool registered);
    void Register();
    void Refused();
    void Retry();
    void SetRegistered(bool registered);
    void SetPending(bool pending);

    int number_; // tells the icons of the program apart on the bus
    BackgroundBusConnection* connecting_ = nullptr;
    QDBusConnection bus_{QString()}; // not connected until connecting_ has made it
    QString service_; // the name the icon is registered by
    ExportedItem* item_;
    DBusMenu* menu_;
    QString watcher_; // the watcher's unique name on the bus; empty while there is none
    int watcherChanges_ = 0;
    bool pending_ = true;
    bool hostRegistered_ = false;
    bool asking_ = false;
    bool askAgain_ = false;
    bool wanted_ = false; // between Show and Hide
    int registrations_ = 0; // an answer to any but the latest registration is stale
    bool registered_ = false;
    bool refused_ = false;
    QTimer retry_; // while refused: when to try again
    int retryDelay_ = 0; // the wait after the next refusal, in milliseconds
};

} // namespace platform
