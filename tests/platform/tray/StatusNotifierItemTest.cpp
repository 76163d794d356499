#include "platform/tray/StatusNotifierItem.h"

#include "platform/NotificationArea.h"

#include "ScriptedWatcher.h"
#include "doubles/PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
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

bool WaitUntil(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 10000);
}

std::unique_ptr<ScriptedWatcher> StartWatcher(const QString& address, int run, bool withHost)
{
    auto watcher = std::make_unique<ScriptedWatcher>(address, QStringLiteral("watcher-%1").arg(run));
    watcher->hostRegistered = withHost;
    return watcher;
}

// Where the item says its menu is, as a host reads it.
QString MenuPath(ScriptedWatcher& watcher, const QString& service)
{
    const QDBusMessage reply = watcher.CallItem(service, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                QStringLiteral("Get"), {"org.kde.StatusNotifierItem", "Menu"});
    return reply.arguments().isEmpty()
        ? QString()
        : qvariant_cast<QDBusObjectPath>(qvariant_cast<QDBusVariant>(reply.arguments()[0]).variant()).path();
}

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
    auto run = StartWatcher(session.Address(), 1, false);
    ASSERT_TRUE(WaitUntil([&] { return item.Shown(); })) << "registered with the watcher as soon as it came";
    EXPECT_FALSE(item.HostAvailable());
    ASSERT_EQ(run->items.size(), 1);
    const QString service = run->items[0];
    run->hostRegistered = true;
    run->AnnounceHost();
    EXPECT_TRUE(WaitUntil([&] { return item.HostAvailable(); }));

    // The host finds the menu where the item says, registers it again when it changes, and its
    // calls arrive as presses once they have been answered.
    EXPECT_EQ(MenuPath(*run, service), QStringLiteral("/NO_DBUSMENU"));
    QMenu menu;
    item.SetMenu(&menu);
    EXPECT_EQ(MenuPath(*run, service), QStringLiteral("/MenuBar"));
    EXPECT_TRUE(WaitUntil([&] { return run->items.size() == 2; }));
    for (const char* request : {"Activate", "ContextMenu", "SecondaryActivate"})
        run->CallItem(service, QStringLiteral("org.kde.StatusNotifierItem"), QString::fromLatin1(request), {0, 0});
    ASSERT_TRUE(WaitUntil([&] { return pressed.size() == 3; }));
    EXPECT_EQ(pressed[0][0].value<std::intptr_t>(), WM_LBUTTONDOWN);
    EXPECT_EQ(pressed[1][0].value<std::intptr_t>(), WM_RBUTTONDOWN);
    EXPECT_EQ(pressed[2][0].value<std::intptr_t>(), WM_MBUTTONDOWN);

    // The watcher ends, and starts again with its host: the item registers with the new one.
    run.reset();
    EXPECT_TRUE(WaitUntil([&] { return !item.Shown() && !item.HostAvailable(); }));
    run = StartWatcher(session.Address(), 2, true);
    EXPECT_TRUE(WaitUntil([&] { return item.Shown() && item.HostAvailable(); }));
    EXPECT_EQ(run->items, QStringList{service});

    // Hidden, its name leaves the bus: that is how a watcher learns that an item has gone.
    item.Hide();
    EXPECT_FALSE(item.Shown());
    EXPECT_TRUE(WaitUntil([&] { return !run->Bus().interface()->isServiceRegistered(service).value(); }));
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
    ScriptedWatcher watcher(session.Address(), QStringLiteral("watcher"));
    watcher.registration = ScriptedWatcher::Registration::Refuse;
    StatusNotifierItem item;
    item.Show();
    EXPECT_TRUE(WaitUntil([] { return TrayLog::Says(QtWarningMsg, QStringLiteral("did not take the icon")); }));
    EXPECT_TRUE(TrayLog::Says(QtWarningMsg, QStringLiteral("org.freedesktop.DBus.Error.AccessDenied")));
}

// However many times the watcher announces a host, one question at a time is in flight, and one
// more after it for all that came meanwhile: the announcements leave nothing behind.
TEST(StatusNotifierItemTest, AFloodOfHostAnnouncementsAsksTheWatcherOnceAtATime)
{
    const PrivateSessionBus session;
    ASSERT_FALSE(session.Address().isEmpty()) << "dbus-daemon did not start (scripts/install-deps.sh installs it)";
    ScriptedWatcher watcher(session.Address(), QStringLiteral("watcher"));
    StatusNotifierItem item;
    item.Show();
    ASSERT_TRUE(WaitUntil([&] { return item.HostAvailable() && item.Shown(); }));
    const int asked = watcher.questions;

    watcher.holdAnswers = true;
    for (int i = 0; i < 10000; ++i)
        watcher.AnnounceHost();
    // Answered after every announcement has reached the item.
    watcher.CallItem(watcher.items.value(0), QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                     {"org.kde.StatusNotifierItem", "Id"});
    EXPECT_EQ(watcher.questions - asked, 1);
    watcher.holdAnswers = false;
    watcher.Release();
    QTest::qWait(500);
    EXPECT_EQ(watcher.questions - asked, 2);
    EXPECT_TRUE(item.HostAvailable());
}

} // namespace
