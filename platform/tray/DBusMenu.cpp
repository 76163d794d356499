#include "platform/tray/DBusMenu.h"

#include <QAction>
#include <QActionEvent>
#include <QDBusError>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace platform {

namespace {

const QString ClickedEvent = QStringLiteral("clicked");

// Every property an item may have.
const QStringList ItemProperties = {QStringLiteral("children-display"), QStringLiteral("type"), QStringLiteral("label"),
                                    QStringLiteral("enabled"), QStringLiteral("visible")};

// The item properties that names asks for, all of them when it is empty: the one pass over names
// a call costs, however many it holds.
QStringList Wanted(const QStringList& names)
{
    if (names.isEmpty())
        return ItemProperties;
    QStringList wanted;
    for (const QString& property : ItemProperties) {
        if (names.contains(property))
            wanted.append(property);
    }
    return wanted;
}

QVariantMap Filtered(QVariantMap properties, const QStringList& wanted)
{
    for (auto property = properties.begin(); property != properties.end();)
        property = wanted.contains(property.key()) ? std::next(property) : properties.erase(property);
    return properties;
}

// The ids, each once, in the order first given.
QList<int> Distinct(const QList<int>& ids)
{
    QList<int> distinct;
    QSet<int> seen;
    for (const int id : ids) {
        if (!seen.contains(id)) {
            seen.insert(id);
            distinct.append(id);
        }
    }
    return distinct;
}

} // namespace

DBusMenu::DBusMenu(QObject* parent)
    : QObject(parent)
{
}

QMenu* DBusMenu::Menu() const
{
    return menu_;
}

void DBusMenu::SetMenu(QMenu* menu)
{
    if (menu == menu_)
        return;
    if (menu_)
        menu_->removeEventFilter(this);
    menu_ = menu;
    if (menu_)
        menu_->installEventFilter(this);
    layoutChanged_ = true;
    Changed();
}

QString DBusMenu::TextDirection() const
{
    return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl") : QStringLiteral("ltr");
}

QString DBusMenu::Label(const QString& text)
{
    QString label;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('_')) {
            label += QStringLiteral("__");
        } else if (text[i] != QLatin1Char('&')) {
            label += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
            label += QLatin1Char('&');
            ++i;
        } else {
            label += QLatin1Char('_');
        }
    }
    return label;
}

int DBusMenu::IdOf(QAction* action)
{
    const auto known = ids_.constFind(action);
    if (known != ids_.constEnd())
        return *known;
    const int id = nextId_++;
    ids_.insert(action, id);
    actions_.emplace(id, action);
    connect(action, &QObject::destroyed, this, [this, action, id] {
        ids_.remove(action);
        actions_.erase(id);
    });
    return id;
}

QAction* DBusMenu::ActionOf(int id) const
{
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second.data();
}

QMenu* DBusMenu::ChildrenOf(int id)
{
    QMenu* menu = id == RootId ? menu_.data() : ActionOf(id) ? ActionOf(id)->menu() : nullptr;
    if (menu && menu != menu_)
        menu->installEventFilter(this); // a submenu's changes are followed once a host has seen it
    return menu;
}

QVariantMap DBusMenu::PropertiesOf(int id) const
{
    QVariantMap properties;
    const QAction* action = ActionOf(id);
    if (!action || action->menu())
        properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    if (!action)
        return properties;
    if (action->isSeparator())
        properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
    else
        properties.insert(QStringLiteral("label"), Label(action->text()));
    properties.insert(QStringLiteral("enabled"), action->isEnabled());
    properties.insert(QStringLiteral("visible"), action->isVisible());
    return properties;
}

// depth: how many levels of items below this one; any negative number for all of them.
DBusMenuLayout DBusMenu::LayoutOf(int id, int depth, const QStringList& wanted)
{
    DBusMenuLayout layout{id, Filtered(PropertiesOf(id), wanted), {}};
    QMenu* children = depth == 0 ? nullptr : ChildrenOf(id);
    if (children) {
        for (QAction* action : children->actions())
            layout.children.append(LayoutOf(IdOf(action), depth < 0 ? depth : depth - 1, wanted));
    }
    return layout;
}

void DBusMenu::UnknownId(int id)
{
    if (calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("No menu item has the id %1").arg(id));
}

uint DBusMenu::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames, DBusMenuLayout& layout)
{
    if (!Known(parentId))
        UnknownId(parentId);
    else
        layout = LayoutOf(parentId, std::max(recursionDepth, -1), Wanted(propertyNames));
    return revision_;
}

// One entry at most per item of the menu: ids it does not hold are left out.
QList<DBusMenuItem> DBusMenu::GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames)
{
    const QStringList wanted = Wanted(propertyNames);
    QList<DBusMenuItem> items;
    for (const int id : Distinct(ids)) {
        if (Known(id))
            items.append({id, Filtered(PropertiesOf(id), wanted)});
    }
    return items;
}

QDBusVariant DBusMenu::GetProperty(int id, const QString& name)
{
    if (!Known(id)) {
        UnknownId(id);
        return {};
    }
    const QVariant value = PropertiesOf(id).value(name);
    // An empty value cannot be sent: the caller would get no answer at all.
    if (!value.isValid() && calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs,
                       QStringLiteral("The menu item %1 has no property %2").arg(id).arg(name));
    return QDBusVariant(value);
}

bool DBusMenu::Clicked(int id, const QString& eventId)
{
    QAction* action = ActionOf(id);
    if (!action)
        return false;
    // After the host's call has been answered, as a menu delivers its command once it has closed.
    if (eventId == ClickedEvent)
        QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
    return true;
}

void DBusMenu::Event(int id, const QString& eventId, const QDBusVariant&, uint)
{
    if (!Clicked(id, eventId) && id != RootId)
        UnknownId(id);
}

// An item clicked several times in one group is clicked once.
QList<int> DBusMenu::EventGroup(const QList<DBusMenuEvent>& events)
{
    QList<int> idErrors;
    QSet<std::pair<int, QString>> seen;
    for (const DBusMenuEvent& event : events) {
        if (seen.contains({event.id, event.eventId}))
            continue;
        seen.insert({event.id, event.eventId});
        if (!Clicked(event.id, event.eventId) && event.id != RootId)
            idErrors.append(event.id);
    }
    return Distinct(idErrors);
}

// The menu is kept up to date as it changes, so no item ever needs refreshing before it opens.
bool DBusMenu::AboutToShow(int id)
{
    if (!Known(id))
        UnknownId(id);
    return false;
}

QList<int> DBusMenu::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors)
{
    for (const int id : Distinct(ids)) {
        if (!Known(id))
            idErrors.append(id);
    }
    return {};
}

bool DBusMenu::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ActionAdded:
    case QEvent::ActionRemoved:
        layoutChanged_ = true;
        Changed();
        break;
    case QEvent::ActionChanged:
        if (const auto known = ids_.constFind(static_cast<QActionEvent*>(event)->action()); known != ids_.constEnd()) {
            itemsChanged_.insert(*known);
            Changed();
        }
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void DBusMenu::Changed()
{
    if (!std::exchange(changesPending_, true))
        QTimer::singleShot(0, this, &DBusMenu::SendChanges);
}

void DBusMenu::SendChanges()
{
    changesPending_ = false;
    if (std::exchange(layoutChanged_, false)) {
        itemsChanged_.clear(); // the new layout carries every item's properties
        emit LayoutUpdated(++revision_, RootId);
        return;
    }
    QList<DBusMenuItem> updated;
    for (const int id : std::exchange(itemsChanged_, {})) {
        if (Known(id))
            updated.append({id, PropertiesOf(id)});
    }
    if (!updated.isEmpty())
        emit ItemsPropertiesUpdated(updated, {});
}

} // namespace platform
