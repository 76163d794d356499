#include "platform/portal/PortalGlobalKeys.h"

#include "doubles/PrivateSessionBus.h"
#include "platform/portal/PortalShortcut.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QTest>
#include <QTimer>

namespace {

using platform::GlobalKey;
using platform::PortalGlobalKeys;
using platform::PortalShortcut;

const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Interface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString SessionPath = PortalPath + QStringLiteral("/session/1_1/stackle");

// The desktop portal's global shortcuts as a desktop offers them: each call is answered on a
// request object named after the caller and its token, and the desktop tells of a press with a
// signal. It reads the calls as they come, as a portal written in another language would.
class FakePortal final : public QDBusVirtualObject {
public:
    explicit FakePortal(QDBusConnection bus)
        : bus_(std::move(bus))
    {
        bus_.registerVirtualObject(PortalPath, this);
        bus_.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }

    uint sessionResponse = 0; // 0: the session is made; else what the user's refusal answers
    QStringList calls;
    QString boundSession;
    QList<PortalShortcut> bound;

    // A press of the shortcut in the session, as the desktop reports it.
    void Press(const QString& session, const QString& id)
    {
        QDBusMessage signal = QDBusMessage::createSignal(PortalPath, Interface, QStringLiteral("Activated"));
        signal.setArguments({QVariant::fromValue(QDBusObjectPath(session)), id, qulonglong(1), QVariantMap()});
        bus_.send(signal);
    }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QList<QVariant> arguments = message.arguments();
        const QString member = message.member();
        QDBusMessage reply;
        if (member == QLatin1String("Get") && arguments.value(0) == Interface) {
            reply = message.createReply(QVariant::fromValue(QDBusVariant(uint(1))));
        } else if (member == QLatin1String("CreateSession") && message.signature() == QLatin1String("a{sv}")) {
            const auto options = qdbus_cast<QVariantMap>(arguments[0]);
            calls << QStringLiteral("CreateSession ")
                    + options.value(QStringLiteral("session_handle_token")).toString();
            reply = Answer(message, options, sessionResponse, {{QStringLiteral("session_handle"), SessionPath}});
        } else if (member == QLatin1String("BindShortcuts")
                   && message.signature() == QLatin1String("oa(sa{sv})sa{sv}")) {
            calls << QStringLiteral("BindShortcuts ") + arguments[2].toString();
            boundSession = qdbus_cast<QDBusObjectPath>(arguments[0]).path();
            bound = qdbus_cast<QList<PortalShortcut>>(arguments[1]);
            reply = Answer(message, qdbus_cast<QVariantMap>(arguments[3]), 0, {});
        } else {
            return false;
        }
        connection.send(reply);
        return true;
    }

private:
    // The reply naming the call's request object, which answers once the call has returned.
    QDBusMessage Answer(const QDBusMessage& call, const QVariantMap& options, uint response, const QVariantMap& results)
    {
        QString sender = call.service().mid(1);
        sender.replace(u'.', u'_');
        const QString path = PortalPath + QStringLiteral("/request/") + sender + u'/'
            + options.value(QStringLiteral("handle_token")).toString();
        QTimer::singleShot(0, [bus = bus_, path, response, results]() mutable {
            QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"),
                                                             QStringLiteral("Response"));
            signal.setArguments({response, results});
            bus.send(signal);
        });
        return call.createReply(QVariant::fromValue(QDBusObjectPath(path)));
    }

    QDBusConnection bus_;
};

class PortalGlobalKeysTest : public ::testing::Test {
protected:
    PortalGlobalKeysTest() { platform::RegisterPortalShortcutTypes(); }
    ~PortalGlobalKeysTest() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    }

    doubles::PrivateSessionBus session;
    QDBusConnection program = QDBusConnection::connectToBus(session.Address(), QStringLiteral("program"));
    QDBusConnection portalBus = QDBusConnection::connectToBus(session.Address(), QStringLiteral("portal"));
    const std::vector<GlobalKey> keys{
        {QStringLiteral("Toggle"), QStringLiteral("Hide or show"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T)},
        {QStringLiteral("Slot1"), QStringLiteral("Start slot 1"), QKeySequence(Qt::META | Qt::Key_1)},
        {QStringLiteral("Slot2"), QStringLiteral("Start slot 2"), QKeySequence(Qt::CTRL | Qt::Key_Exclam)}};
};

// The program asks for a session, binds its keys in it with the keys it would like, and acts on
// the presses of its own session's keys alone.
TEST_F(PortalGlobalKeysTest, BindsTheKeysInASessionAndActsOnTheirPresses)
{
    ASSERT_FALSE(session.Address().isEmpty());
    EXPECT_FALSE(PortalGlobalKeys::Offered(program, 2000)) << "no portal yet";
    FakePortal portal(portalBus);
    ASSERT_TRUE(PortalGlobalKeys::Offered(program, 2000));

    PortalGlobalKeys globalKeys(program);
    QStringList pressed;
    EXPECT_TRUE(globalKeys.Take(keys, [&](const QString& id) { pressed << id; }).isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return portal.bound.size() == 3; }, 10000))
        << portal.calls.join(u',').toStdString();
    EXPECT_EQ(portal.calls, (QStringList{"CreateSession stackle", "BindShortcuts "}));
    EXPECT_EQ(portal.boundSession, SessionPath);
    const QString triggers[] = {"CTRL+ALT+t", "LOGO+1", ""}; // "!" has no name the desktop would read
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(portal.bound[i].id, keys[std::size_t(i)].id);
        EXPECT_EQ(portal.bound[i].properties.value("description").toString(), keys[std::size_t(i)].description);
        EXPECT_EQ(portal.bound[i].properties.value("preferred_trigger").toString(), triggers[i]) << i;
        EXPECT_EQ(portal.bound[i].properties.contains("preferred_trigger"), !triggers[i].isEmpty()) << i;
    }

    portal.Press(PortalPath + QStringLiteral("/session/other"), QStringLiteral("Slot1"));
    portal.Press(SessionPath, QStringLiteral("Unknown"));
    portal.Press(SessionPath, QStringLiteral("Slot1"));
    portal.Press(SessionPath, QStringLiteral("Toggle"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pressed.size() >= 2; }, 10000));
    QTest::qWait(100);
    EXPECT_EQ(pressed, (QStringList{"Slot1", "Toggle"}));
}

// A session the user refuses binds nothing.
TEST_F(PortalGlobalKeysTest, RefusedSessionBindsNothing)
{
    FakePortal portal(portalBus);
    portal.sessionResponse = 1;
    PortalGlobalKeys globalKeys(program);
    globalKeys.Take(keys, [](const QString&) {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !portal.calls.isEmpty(); }, 10000));
    QTest::qWait(300);
    EXPECT_EQ(portal.calls, QStringList{"CreateSession stackle"});
}

} // namespace
