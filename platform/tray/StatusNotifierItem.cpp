#include "platform/tray/StatusNotifierItem.h"

#include "platform/NotificationArea.h"
#include "platform/tray/BackgroundBusConnection.h"
#include "platform/tray/DBusMenu.h"
#include "platform/tray/StatusNotifierTypes.h"
#include "platform/tray/TrayLog.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QIcon>

#include <algorithm>
#include <functional>
#include <utility>

namespace platform {

namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString WatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString WatcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString ItemPath = QStringLiteral("/StatusNotifierItem");
const QString MenuPath = QStringLiteral("/MenuBar");
// The menu's path that tells a host there is none: it then asks for one with ContextMenu.
const QString NoMenuPath = QStringLiteral("/NO_DBUSMENU");
const QString BusService = QStringLiteral("org.freedesktop.DBus");
const QString BusPath = QStringLiteral("/org/freedesktop/DBus");
// How long a question to the bus or the watcher may take, in milliseconds; a watcher that has
// not said by then whether a host is there counts as one without.
constexpr int QuestionTimeout = 5000;
// How long the watcher may take to register the icon, in milliseconds; one that has not answered
// by then has refused it.
constexpr int RegistrationTimeout = 3000;
// How long after a refusal the watcher is asked again, in milliseconds: at first, and at most,
// as it refuses again and again.
constexpr int FirstRetryDelay = 2000;
constexpr int LongestRetryDelay = 5 * 60 * 1000;

int NextItemNumber()
{
    static int made = 0;
    return ++made;
}

QDBusMessage HostQuestion()
{
    return QDBusMessage::createMethodCall(WatcherService, WatcherPath,
                                          QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"))
        << WatcherInterface << QStringLiteral("IsStatusNotifierHostRegistered");
}

bool SaysHostRegistered(const QDBusMessage& reply)
{
    if (reply.type() == QDBusMessage::ErrorMessage)
        qCWarning(trayLog) << "The status-notifier watcher did not say whether a host is there:" << reply.errorName()
                           << reply.errorMessage();
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
        && qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

} // namespace

// What hosts read of the icon and call on it.
class ExportedItem final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ Category)
    Q_PROPERTY(QString Id READ Id)
    Q_PROPERTY(QString Title READ Title)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(QString IconName READ IconName)
    Q_PROPERTY(platform::DBusImages IconPixmap READ IconPixmap)
    Q_PROPERTY(platform::DBusToolTip ToolTip READ ToolTip)
    Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ Menu)

public:
    using QObject::QObject;

    QString Category() const { return QStringLiteral("ApplicationStatus"); }
    QString Id() const { return QCoreApplication::applicationName(); }
    QString Title() const { return QGuiApplication::applicationDisplayName(); }
    QString Status() const { return QStringLiteral("Active"); }
    QString IconName() const { return {}; } // none: the pictures are the icon
    DBusImages IconPixmap() const { return iconPixmap; }
    DBusToolTip ToolTip() const { return toolTip; }
    bool ItemIsMenu() const { return false; }
    QDBusObjectPath Menu() const { return menu; }

    DBusImages iconPixmap;
    DBusToolTip toolTip;
    QDBusObjectPath menu{NoMenuPath};
    std::function<void(std::intptr_t mouseMessage)> press; // what a host's request means

public slots:
    Q_SCRIPTABLE void Activate(int, int) { press(WM_LBUTTONDOWN); }
    Q_SCRIPTABLE void SecondaryActivate(int, int) { press(WM_MBUTTONDOWN); }
    Q_SCRIPTABLE void ContextMenu(int, int) { press(WM_RBUTTONDOWN); }

signals:
    Q_SCRIPTABLE void NewIcon();
    Q_SCRIPTABLE void NewToolTip();
};

StatusNotifierItem::StatusNotifierItem(QObject* parent)
    : TrayIconView(parent)
    , number_(NextItemNumber())
    , service_(QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(QCoreApplication::applicationPid()).arg(number_))
    , item_(new ExportedItem(this))
    , menu_(new DBusMenu(this))
{
    // Delivered once the host's call has been answered: what a press sets off may take long.
    item_->press = [this](std::intptr_t mouseMessage) {
        QMetaObject::invokeMethod(
            this, [this, mouseMessage] { emit Pressed(mouseMessage); }, Qt::QueuedConnection);
    };
    retry_.setSingleShot(true);
    retryDelay_ = FirstRetryDelay;
    connect(&retry_, &QTimer::timeout, this, &StatusNotifierItem::Retry);
    // Made after the objects it exports, so that it goes after them.
    connecting_ = new BackgroundBusConnection(QStringLiteral("stackle-tray-%1").arg(number_), this);
    connect(connecting_, &BackgroundBusConnection::Made, this, &StatusNotifierItem::Connected);
}

StatusNotifierItem::~StatusNotifierItem() = default;

void StatusNotifierItem::Connected(const QDBusConnection& bus)
{
    bus_ = bus;
    if (!bus_.isConnected()) {
        qCDebug(trayLog) << "No session bus, so no status-notifier host:" << bus_.lastError().message();
        SetPending(false);
        return;
    }
    RegisterStatusNotifierTypes();
    RegisterDBusMenuTypes();
    if (!bus_.registerObject(ItemPath, item_, QDBusConnection::ExportScriptableContents)
        || !bus_.registerObject(MenuPath, menu_, QDBusConnection::ExportScriptableContents))
        qCWarning(trayLog) << "The icon cannot be offered on the session bus:" << bus_.lastError().message();
    // Some watchers also say when a host has gone.
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus_.connect(WatcherService, WatcherPath, WatcherInterface, QString::fromLatin1(signal), this,
                     SLOT(HostAnnounced()));
    auto* watch = new QDBusServiceWatcher(WatcherService, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watch, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) { WatcherChanged(owner); });
    if (wanted_)
        TakeName();
    // Asked once the owner is watched, so that no change goes unseen; a change seen before the
    // answer makes it stale.
    const QDBusMessage ownerQuestion =
        QDBusMessage::createMethodCall(BusService, BusPath, BusService, QStringLiteral("GetNameOwner"))
        << WatcherService;
    Call(ownerQuestion, QuestionTimeout, [this, changes = watcherChanges_](const QDBusMessage& reply) {
        if (changes != watcherChanges_)
            return;
        const QString owner = reply.arguments().value(0).toString();
        if (reply.type() == QDBusMessage::ReplyMessage && !owner.isEmpty()) {
            WatcherChanged(owner);
        } else {
            qCDebug(trayLog) << "No status-notifier watcher is on the session bus";
            SetPending(false);
        }
    });
}

void StatusNotifierItem::Call(const QDBusMessage& call, int timeout, std::function<void(const QDBusMessage&)> answered)
{
    auto* answer = new QDBusPendingCallWatcher(bus_.asyncCall(call, timeout), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [answered = std::move(answered)](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                answered(finished->reply());
            });
}

void StatusNotifierItem::SetIcon(const QIcon& icon)
{
    item_->iconPixmap = ToDBusImages(icon);
    emit item_->NewIcon();
}

void StatusNotifierItem::SetToolTip(const QString& tip)
{
    item_->toolTip.title = tip;
    emit item_->NewToolTip();
}

void StatusNotifierItem::SetMenu(QMenu* menu)
{
    const bool hadMenu = menu_->Menu() != nullptr;
    menu_->SetMenu(menu);
    item_->menu = QDBusObjectPath(menu ? MenuPath : NoMenuPath);
    // Hosts read where the menu is when the icon registers: it registers again for them to see.
    if (hadMenu != (menu != nullptr) && wanted_) {
        Hide();
        Show();
    }
}

void StatusNotifierItem::Show()
{
    if (std::exchange(wanted_, true) || !bus_.isConnected())
        return;
    TakeName();
    if (!watcher_.isEmpty())
        Register();
}

void StatusNotifierItem::Hide()
{
    if (!std::exchange(wanted_, false) || !bus_.isConnected())
        return;
    ++registrations_;
    // The watcher forgets an icon whose name has gone from the bus.
    bus_.unregisterService(service_);
    SetRegistered(false);
}

bool StatusNotifierItem::Shown() const
{
    return registered_;
}

bool StatusNotifierItem::HostAvailable() const
{
    return !watcher_.isEmpty() && hostRegistered_ && !refused_;
}

bool StatusNotifierItem::HostPending() const
{
    return pending_;
}

void StatusNotifierItem::TakeName()
{
    if (!bus_.registerService(service_))
        qCWarning(trayLog) << "The session bus refused the icon's name" << service_ << ":"
                           << bus_.lastError().message();
}

void StatusNotifierItem::WatcherChanged(const QString& owner)
{
    qCDebug(trayLog) << (owner.isEmpty() ? "The status-notifier watcher has gone"
                                         : "A status-notifier watcher is there:")
                     << owner;
    ++watcherChanges_;
    ++registrations_;
    watcher_ = owner;
    registered_ = false;
    hostRegistered_ = false;
    refused_ = false;
    retry_.stop();
    retryDelay_ = FirstRetryDelay;
    pending_ = !watcher_.isEmpty();
    if (!watcher_.isEmpty()) {
        AskForHost();
        if (wanted_)
            Register();
    }
    emit HostChanged();
}

void StatusNotifierItem::HostAnnounced()
{
    AskForHost();
    // A watcher that refused the icon may take it now: it is asked again soon.
    if (refused_ && retry_.remainingTime() > FirstRetryDelay)
        retry_.start(FirstRetryDelay);
}

void StatusNotifierItem::AskForHost()
{
    if (watcher_.isEmpty())
        return;
    if (asking_) {
        askAgain_ = true;
        return;
    }
    asking_ = true;
    Call(HostQuestion(), QuestionTimeout, [this, asked = watcher_](const QDBusMessage& reply) {
        asking_ = false;
        if (asked == watcher_)
            HostAnswered(SaysHostRegistered(reply));
        if (std::exchange(askAgain_, false))
            AskForHost();
    });
}

void StatusNotifierItem::HostAnswered(bool registered)
{
    const bool wasPending = std::exchange(pending_, false);
    if (std::exchange(hostRegistered_, registered) != registered)
        qCDebug(trayLog) << (registered ? "A status-notifier host is there" : "No status-notifier host is there");
    else if (!wasPending)
        return;
    emit HostChanged();
}

void StatusNotifierItem::Register()
{
    const QDBusMessage registration = QDBusMessage::createMethodCall(WatcherService, WatcherPath, WatcherInterface,
                                                                     QStringLiteral("RegisterStatusNotifierItem"))
        << service_;
    Call(registration, RegistrationTimeout,
         [this, asked = watcher_, number = ++registrations_](const QDBusMessage& reply) {
             if (number != registrations_)
                 return; // the icon left the bus or registered again meanwhile
             if (reply.type() == QDBusMessage::ReplyMessage) {
                 retryDelay_ = FirstRetryDelay;
                 SetRegistered(true);
                 return;
             }
             qCWarning(trayLog) << "The status-notifier watcher" << asked
                                << "did not take the icon:" << reply.errorName() << reply.errorMessage();
             Refused();
         });
}

// Taken as a watcher without a host, so that the icon goes to another kind of tray.
void StatusNotifierItem::Refused()
{
    refused_ = true;
    retry_.start(retryDelay_);
    retryDelay_ = std::min(2 * retryDelay_, LongestRetryDelay);
    emit HostChanged();
}

void StatusNotifierItem::Retry()
{
    qCDebug(trayLog) << "The status-notifier watcher that refused the icon is asked again";
    refused_ = false;
    if (wanted_)
        Register();
    emit HostChanged();
}

void StatusNotifierItem::SetRegistered(bool registered)
{
    if (std::exchange(registered_, registered) == registered)
        return;
    qCDebug(trayLog) << (registered ? "The icon is registered with the status-notifier watcher"
                                    : "The icon is no longer registered with the status-notifier watcher");
    emit HostChanged();
}

void StatusNotifierItem::SetPending(bool pending)
{
    if (std::exchange(pending_, pending) != pending)
        emit HostChanged();
}

} // namespace platform

#include "StatusNotifierItem.moc"
