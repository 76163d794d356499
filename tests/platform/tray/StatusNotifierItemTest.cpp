#include "platform/tray/StatusNotifierItem.h"

#include "platform/NotificationArea.h"

#include "doubles/PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

using namespace platform;
using doubles::PrivateSessionBus;

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

bool WaitUntil(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 10000);
}

// A status-notifier watcher as a desktop runs one: it lists the items that register and says
// whether a host has registered with it.
class FakeWatcher final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ RegisteredStatusNotifierItems)

public:
    QStringList items;
    bool hostRegistered = false;
    bool refuse = false; // answers each registration with an error

    bool IsStatusNotifierHostRegistered() const { return hostRegistered; }
    QStringList RegisteredStatusNotifierItems() const { return items; }
    void RegisterHost()
    {
        hostRegistered = true;
        emit StatusNotifierHostRegistered();
    }

public slots:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& service)
    {
        if (refuse)
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("No icons here"));
        else
            items.append(service);
    }

signals:
    Q_SCRIPTABLE void StatusNotifierHostRegistered();
};

// One run of the watcher, on a connection of its own, from its start to its end.
class RunningWatcher {
public:
    RunningWatcher(const QString& address, int run, bool withHost)
        : bus(QDBusConnection::connectToBus(address, QStringLiteral("watcher-%1").arg(run)))
    {
        watcher.hostRegistered = withHost;
        bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                           QDBusConnection::ExportScriptableContents);
        bus.registerService(WatcherService);
    }
    ~RunningWatcher() { QDBusConnection::disconnectFromBus(bus.name()); }

    // Calls the item as a host does, waiting for the answer.
    QDBusMessage CallItem(const QString& service, const QString& interface, const QString& method,
                          const QVariantList& arguments)
    {
        QDBusMessage call =
            QDBusMessage::createMethodCall(service, QStringLiteral("/StatusNotifierItem"), interface, method);
        call.setArguments(arguments);
        return bus.call(call, QDBus::BlockWithGui);
    }
    QString MenuPath(const QString& service)
    {
        const QDBusMessage reply = CallItem(service, QStringLiteral("org.freedesktop.DBus.Properties"),
                                            QStringLiteral("Get"), {"org.kde.StatusNotifierItem", "Menu"});
        return reply.arguments().isEmpty()
            ? QString()
            : qvariant_cast<QDBusObjectPath>(qvariant_cast<QDBusVariant>(reply.arguments()[0]).variant()).path();
    }

    FakeWatcher watcher;
    QDBusConnection bus;
};

TEST(StatusNotifierItemTest, FollowsTheWatcherItsHostAndRestartsAndAnswersTheHost)
{
    const PrivateSessionBus session;
    ASSERT_FALSE(session.Address().isEmpty()) << "dbus-daemon did not start (scripts/install-deps.sh installs it)";
    StatusNotifierItem item;
    QSignalSpy pressed(&item, &TrayIconView::Pressed);
    item.Show();
    EXPECT_FALSE(item.HostAvailable());
    EXPECT_FALSE(item.Shown());

    // A watcher starts, and a host registers with it later.
    auto run = std::make_unique<RunningWatcher>(session.Address(), 1, false);
    ASSERT_TRUE(WaitUntil([&] { return item.Shown(); })) << "registered with the watcher as soon as it came";
    EXPECT_FALSE(item.HostAvailable());
    ASSERT_EQ(run->watcher.items.size(), 1);
    const QString service = run->watcher.items[0];
    run->watcher.RegisterHost();
    EXPECT_TRUE(WaitUntil([&] { return item.HostAvailable(); }));

    // The host finds the menu where the item says, registers it again when it changes, and its
    // calls arrive as presses once they have been answered.
    EXPECT_EQ(run->MenuPath(service), QStringLiteral("/NO_DBUSMENU"));
    QMenu menu;
    item.SetMenu(&menu);
    EXPECT_EQ(run->MenuPath(service), QStringLiteral("/MenuBar"));
    EXPECT_TRUE(WaitUntil([&] { return run->watcher.items.size() == 2; }));
    for (const char* request : {"Activate", "ContextMenu", "SecondaryActivate"})
        run->CallItem(service, QStringLiteral("org.kde.StatusNotifierItem"), QString::fromLatin1(request), {0, 0});
    ASSERT_TRUE(WaitUntil([&] { return pressed.size() == 3; }));
    EXPECT_EQ(pressed[0][0].value<std::intptr_t>(), WM_LBUTTONDOWN);
    EXPECT_EQ(pressed[1][0].value<std::intptr_t>(), WM_RBUTTONDOWN);
    EXPECT_EQ(pressed[2][0].value<std::intptr_t>(), WM_MBUTTONDOWN);

    // The watcher ends, and starts again with its host: the item registers with the new one.
    run.reset();
    EXPECT_TRUE(WaitUntil([&] { return !item.Shown() && !item.HostAvailable(); }));
    run = std::make_unique<RunningWatcher>(session.Address(), 2, true);
    EXPECT_TRUE(WaitUntil([&] { return item.Shown() && item.HostAvailable(); }));
    EXPECT_EQ(run->watcher.items, QStringList{service});

    // Hidden, its name leaves the bus: that is how a watcher learns that an item has gone.
    item.Hide();
    EXPECT_FALSE(item.Shown());
    EXPECT_TRUE(WaitUntil([&] { return !run->bus.interface()->isServiceRegistered(service).value(); }));
}

// What the program says on its tray log, for as long as it lives.
class TrayLog {
public:
    TrayLog() { previous_ = qInstallMessageHandler(&TrayLog::Record); }
    ~TrayLog()
    {
        qInstallMessageHandler(previous_);
        lines_.clear();
    }
    static bool Says(QtMsgType type, const QString& part)
    {
        return std::any_of(lines_.begin(), lines_.end(),
                           [&](const auto& line) { return line.first == type && line.second.contains(part); });
    }

private:
    static void Record(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (context.category == QLatin1String("stackle.tray"))
            lines_.append({type, text});
    }
    static inline QList<std::pair<QtMsgType, QString>> lines_;
    QtMessageHandler previous_;
};

TEST(StatusNotifierItemTest, SaysWhyAWatcherRefusedTheIcon)
{
    const PrivateSessionBus session;
    ASSERT_FALSE(session.Address().isEmpty()) << "dbus-daemon did not start (scripts/install-deps.sh installs it)";
    const TrayLog log;
    RunningWatcher run(session.Address(), 1, true);
    run.watcher.refuse = true;
    StatusNotifierItem item;
    item.Show();
    EXPECT_TRUE(WaitUntil([] { return TrayLog::Says(QtWarningMsg, QStringLiteral("did not take the icon")); }));
    EXPECT_TRUE(TrayLog::Says(QtWarningMsg, QStringLiteral("org.freedesktop.DBus.Error.AccessDenied")));
    EXPECT_FALSE(item.Shown());
}

} // namespace

#include "StatusNotifierItemTest.moc"
