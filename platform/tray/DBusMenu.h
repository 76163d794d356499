#pragma once

#include "platform/tray/DBusMenuTypes.h"

#include <QDBusContext>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <map>

class QAction;
class QMenu;

namespace platform {

// A QMenu as com.canonical.dbusmenu, for a tray host that draws an icon's menu itself: every
// action an item (labels with their mnemonic, enabled, visible, separators, submenus), kept up to
// date as the menu's actions change. An item the host reports clicked triggers its action from the
// event loop, as a click in the menu would. The menu is not owned. Every call is answered at once,
// with a result or an error, and costs no more than one pass over what it names.
class DBusMenu final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ Version)
    Q_PROPERTY(QString TextDirection READ TextDirection)
    Q_PROPERTY(QString Status READ Status)

public:
    explicit DBusMenu(QObject* parent = nullptr);

    // The menu exported, or nullptr for none (an empty menu).
    QMenu* Menu() const;
    void SetMenu(QMenu* menu);

    uint Version() const { return 3; }
    QString TextDirection() const;
    QString Status() const { return QStringLiteral("normal"); }

    // An action's text as a label: the mnemonic's "&" becomes "_", "&&" a plain "&", and "_"
    // itself is doubled.
    static QString Label(const QString& text);

public slots:
    Q_SCRIPTABLE uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                platform::DBusMenuLayout& layout);
    Q_SCRIPTABLE QList<platform::DBusMenuItem> GetGroupProperties(const QList<int>& ids,
                                                                  const QStringList& propertyNames);
    Q_SCRIPTABLE QDBusVariant GetProperty(int id, const QString& name);
    Q_SCRIPTABLE void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
    Q_SCRIPTABLE QList<int> EventGroup(const QList<platform::DBusMenuEvent>& events);
    Q_SCRIPTABLE bool AboutToShow(int id);
    Q_SCRIPTABLE QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

signals:
    Q_SCRIPTABLE void LayoutUpdated(uint revision, int parent);
    Q_SCRIPTABLE void ItemsPropertiesUpdated(const QList<platform::DBusMenuItem>& updatedProps,
                                             const QList<platform::DBusMenuItemKeys>& removedProps);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int RootId = 0;

    int IdOf(QAction* action);
    QAction* ActionOf(int id) const;
    bool Known(int id) const { return id == RootId || ActionOf(id); }
    // The menu whose actions are the item's children: the exported menu for the root, a submenu
    // for an action that has one; nullptr for none.
    QMenu* ChildrenOf(int id);
    QVariantMap PropertiesOf(int id) const;
    DBusMenuLayout LayoutOf(int id, int depth, const QStringList& wanted);
    bool Clicked(int id, const QString& eventId);
    // Fails the D-Bus call being answered: the id names no item.
    void UnknownId(int id);
    // Tells the hosts of the changes gathered since the last time, once the event loop runs.
    void Changed();
    void SendChanges();

    QPointer<QMenu> menu_;
    std::map<int, QPointer<QAction>> actions_;
    QHash<QAction*, int> ids_;
    int nextId_ = RootId + 1;
    uint revision_ = 1;
    bool layoutChanged_ = false;
    QSet<int> itemsChanged_;
    bool changesPending_ = false;
};

} // namespace platform
