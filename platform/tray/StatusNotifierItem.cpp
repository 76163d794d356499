#include "platform/tray/StatusNotifierItem.h"

#include "platform/NotificationArea.h"
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
// How long the first question to a watcher may take, in milliseconds; a watcher that has not
// answered by then counts as one without a host until it says otherwise.
constexpr int FirstAnswerTimeout = 1000;

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
    , bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("stackle-tray-%1").arg(number_)))
    , service_(QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(QCoreApplication::applicationPid()).arg(number_))
    , item_(new ExportedItem(this))
    , menu_(new DBusMenu(this))
{
    // Delivered once the host's call has been answered: what a press sets off may take long.
    item_->press = [this](std::intptr_t mouseMessage) {
        QMetaObject::invokeMethod(
            this, [this, mouseMessage] { emit Pressed(mouseMessage); }, Qt::QueuedConnection);
    };
    if (!bus_.isConnected()) {
        qCDebug(trayLog) << "No session bus, so no status-notifier host:" << bus_.lastError().message();
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
                     SLOT(AskForHost()));
    auto* watch = new QDBusServiceWatcher(WatcherService, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watch, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) { WatcherChanged(owner); });
    // Waited for, so that a new icon goes straight into the kind of host that is there.
    watcher_ = bus_.interface()->serviceOwner(WatcherService).value();
    if (!watcher_.isEmpty())
        hostRegistered_ = SaysHostRegistered(bus_.call(HostQuestion(), QDBus::Block, FirstAnswerTimeout));
}

StatusNotifierItem::~StatusNotifierItem()
{
    // Closed once bus_ lets go of it; the watcher then forgets the icon.
    QDBusConnection::disconnectFromBus(bus_.name());
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
    if (!bus_.registerService(service_))
        qCWarning(trayLog) << "The session bus refused the icon's name" << service_ << ":"
                           << bus_.lastError().message();
    if (!watcher_.isEmpty())
        Register();
}

void StatusNotifierItem::Hide()
{
    if (!std::exchange(wanted_, false) || !bus_.isConnected())
        return;
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
    return !watcher_.isEmpty() && hostRegistered_;
}

void StatusNotifierItem::WatcherChanged(const QString& owner)
{
    qCDebug(trayLog) << (owner.isEmpty() ? "The status-notifier watcher has gone"
                                         : "A status-notifier watcher is there:")
                     << owner;
    watcher_ = owner;
    registered_ = false;
    hostRegistered_ = false;
    if (!watcher_.isEmpty()) {
        AskForHost();
        if (wanted_)
            Register();
    }
    emit HostChanged();
}

void StatusNotifierItem::AskForHost()
{
    if (watcher_.isEmpty())
        return;
    auto* answer = new QDBusPendingCallWatcher(bus_.asyncCall(HostQuestion()), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, asked = watcher_](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        if (asked == watcher_)
            SetHostRegistered(SaysHostRegistered(call->reply()));
    });
}

void StatusNotifierItem::Register()
{
    const QDBusMessage registration = QDBusMessage::createMethodCall(WatcherService, WatcherPath, WatcherInterface,
                                                                     QStringLiteral("RegisterStatusNotifierItem"))
        << service_;
    auto* answer = new QDBusPendingCallWatcher(bus_.asyncCall(registration), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, asked = watcher_](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        if (call->isError())
            qCWarning(trayLog) << "The status-notifier watcher" << asked
                               << "did not take the icon:" << call->error().name() << call->error().message();
        else if (asked == watcher_ && wanted_)
            SetRegistered(true);
    });
}

void StatusNotifierItem::SetRegistered(bool registered)
{
    if (std::exchange(registered_, registered) == registered)
        return;
    qCDebug(trayLog) << (registered ? "The icon is registered with the status-notifier watcher"
                                    : "The icon is no longer registered with the status-notifier watcher");
    emit HostChanged();
}

void StatusNotifierItem::SetHostRegistered(bool registered)
{
    if (std::exchange(hostRegistered_, registered) == registered)
        return;
    qCDebug(trayLog) << (registered ? "A status-notifier host is there" : "No status-notifier host is there");
    emit HostChanged();
}

} // namespace platform

#include "StatusNotifierItem.moc"
