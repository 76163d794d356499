#include "platform/portal/PortalGlobalKeys.h"

#include "platform/keys/KeySymbols.h"
#include "platform/portal/PortalShortcut.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

QDBusMessage PortalCall(const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalPath, ShortcutsInterface, method);
    call.setArguments(arguments);
    return call;
}

} // namespace

namespace platform {

PortalGlobalKeys::PortalGlobalKeys(QDBusConnection bus)
    : bus_(std::move(bus))
{
    RegisterPortalShortcutTypes();
}

bool PortalGlobalKeys::Offered(const QDBusConnection& bus, int timeout)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        PortalService, PortalPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get.setArguments({ShortcutsInterface, QStringLiteral("version")});
    // The wait goes on with the event loop running, as the portal may live in this very process
    // (a test's stand-in).
    const QDBusMessage reply = bus.call(get, QDBus::BlockWithGui, timeout);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
}

QString PortalGlobalKeys::RequestPath(const QString& token) const
{
    // The portal's rule: the caller's unique name without its colon, dots made underscores.
    QString sender = bus_.baseService().mid(1);
    sender.replace(u'.', u'_');
    return PortalPath + QStringLiteral("/request/") + sender + u'/' + token;
}

QStringList PortalGlobalKeys::Take(const std::vector<GlobalKey>& keys, std::function<void(const QString& id)> onPress)
{
    keys_ = keys;
    onPress_ = std::move(onPress);
    if (keys_.empty())
        return {};
    bus_.connect(PortalService, PortalPath, ShortcutsInterface, QStringLiteral("Activated"), this,
                 SLOT(Activated(QDBusMessage)));
    if (!session_.isEmpty()) {
        Bind();
        return {};
    }
    // The answer comes as a signal on a request object whose path the token makes known before
    // the call, so that it cannot be missed.
    const QString token = QStringLiteral("stackle%1").arg(++requests_);
    bus_.connect(PortalService, RequestPath(token), RequestInterface, QStringLiteral("Response"), this,
                 SLOT(SessionCreated(uint, QVariantMap)));
    bus_.asyncCall(PortalCall(QStringLiteral("CreateSession"),
                              {QVariantMap{{QStringLiteral("handle_token"), token},
                                           {QStringLiteral("session_handle_token"), QStringLiteral("stackle")}}}));
    return {};
}

void PortalGlobalKeys::SessionCreated(uint response, const QVariantMap& results)
{
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    // Given as a string by the portal's description, as an object path by some desktops.
    session_ = handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path() : handle.toString();
    if (response != 0 || session_.isEmpty()) {
        session_.clear();
        qWarning("Stackle: the desktop gave no session for global keys (answer %u)", response);
        return;
    }
    Bind();
}

void PortalGlobalKeys::Bind()
{
    QList<PortalShortcut> shortcuts;
    for (const GlobalKey& key : keys_) {
        QVariantMap properties{{QStringLiteral("description"), key.description}};
        if (const QString trigger = PortalTrigger(key.key); !trigger.isEmpty())
            properties.insert(QStringLiteral("preferred_trigger"), trigger);
        shortcuts << PortalShortcut{key.id, properties};
    }
    const QString token = QStringLiteral("stackle%1").arg(++requests_);
    bus_.asyncCall(PortalCall(QStringLiteral("BindShortcuts"),
                              {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts),
                               QString(), QVariantMap{{QStringLiteral("handle_token"), token}}}));
}

// Activated(o session_handle, s shortcut_id, t timestamp, a{sv} options): read by hand, since the
// options the desktops send are described nowhere.
void PortalGlobalKeys::Activated(const QDBusMessage& signal)
{
    const QVariantList arguments = signal.arguments();
    if (arguments.size() < 2 || !onPress_)
        return;
    const QVariant session = arguments[0];
    const QString path =
        session.canConvert<QDBusObjectPath>() ? session.value<QDBusObjectPath>().path() : session.toString();
    const QString id = arguments[1].toString();
    if (path != session_)
        return;
    for (const GlobalKey& key : keys_)
        if (key.id == id)
            onPress_(id);
}

QString PortalTrigger(const QKeySequence& key)
{
    if (key.count() != 1)
        return {};
    const QKeyCombination combination = key[0];
    const std::optional<KeySymbol> symbol = KeySymbolOf(combination.key());
    if (!symbol || symbol->name.isEmpty())
        return {};
    QString trigger;
    const struct {
        Qt::KeyboardModifier modifier;
        const char* name;
    } modifiers[] = {{Qt::ControlModifier, "CTRL+"},
                     {Qt::AltModifier, "ALT+"},
                     {Qt::ShiftModifier, "SHIFT+"},
                     {Qt::MetaModifier, "LOGO+"}};
    for (const auto& modifier : modifiers)
        if (combination.keyboardModifiers() & modifier.modifier)
            trigger += QLatin1String(modifier.name);
    return trigger + symbol->name;
}

} // namespace platform
