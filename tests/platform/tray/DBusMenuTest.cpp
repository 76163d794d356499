#include "platform/tray/DBusMenu.h"

#include "doubles/PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QMenu>
#include <QSignalSpy>

#include <climits>

namespace {

using platform::DBusMenu;
using platform::DBusMenuItem;
using platform::DBusMenuLayout;

QVariant Property(const DBusMenuLayout& item, const char* name)
{
    return item.properties.value(QString::fromLatin1(name));
}

TEST(DBusMenuTest, ItemsAreTheMenusActionsWithTheirLabelsStatesAndSubmenus)
{
    QMenu menu;
    QMenu more(QStringLiteral("&More"));
    menu.addAction(QStringLiteral("Save && &Quit"));
    menu.addSeparator();
    menu.addAction(QStringLiteral("snake_case"))->setVisible(false);
    menu.addMenu(&more);
    more.addAction(QStringLiteral("&Inner"))->setEnabled(false);
    DBusMenu exported;
    exported.SetMenu(&menu);

    DBusMenuLayout root;
    exported.GetLayout(0, -1, {}, root);
    ASSERT_EQ(root.children.size(), 4);
    EXPECT_EQ(Property(root.children[0], "label"), QStringLiteral("Save & _Quit"));
    EXPECT_EQ(Property(root.children[0], "enabled"), true);
    EXPECT_EQ(Property(root.children[1], "type"), QStringLiteral("separator"));
    EXPECT_EQ(Property(root.children[2], "label"), QStringLiteral("snake__case"));
    EXPECT_EQ(Property(root.children[2], "visible"), false);
    const DBusMenuLayout& submenu = root.children[3];
    EXPECT_EQ(Property(submenu, "label"), QStringLiteral("_More"));
    EXPECT_EQ(Property(submenu, "children-display"), QStringLiteral("submenu"));
    ASSERT_EQ(submenu.children.size(), 1);
    EXPECT_EQ(Property(submenu.children[0], "enabled"), false);

    // One level down, with the label alone, as a host may ask.
    DBusMenuLayout shallow;
    exported.GetLayout(0, 1, {QStringLiteral("label")}, shallow);
    ASSERT_EQ(shallow.children.size(), 4);
    EXPECT_TRUE(shallow.children[3].children.isEmpty());
    EXPECT_EQ(shallow.children[0].properties.keys(), QStringList{QStringLiteral("label")});
    EXPECT_EQ(shallow.children[0].id, root.children[0].id) << "an item keeps its id";
}

TEST(DBusMenuTest, ChangesAreAnnouncedFromTheEventLoopAndAClickTriggersItsActionThere)
{
    QMenu menu;
    QAction* exit = menu.addAction(QStringLiteral("E&xit"));
    DBusMenu exported;
    exported.SetMenu(&menu);
    QCoreApplication::processEvents();
    QSignalSpy layoutUpdated(&exported, &DBusMenu::LayoutUpdated);
    QSignalSpy propertiesUpdated(&exported, &DBusMenu::ItemsPropertiesUpdated);
    DBusMenuLayout layout;
    const uint revision = exported.GetLayout(0, -1, {}, layout);

    exit->setEnabled(false);
    exit->setText(QStringLiteral("&Quit"));
    EXPECT_EQ(propertiesUpdated.count(), 0) << "changes are gathered, and told once";
    QCoreApplication::processEvents();
    ASSERT_EQ(propertiesUpdated.count(), 1);
    const auto updated = propertiesUpdated[0][0].value<QList<DBusMenuItem>>();
    ASSERT_EQ(updated.size(), 1);
    EXPECT_EQ(updated[0].id, layout.children[0].id);
    EXPECT_EQ(updated[0].properties.value(QStringLiteral("label")), QStringLiteral("_Quit"));
    EXPECT_EQ(updated[0].properties.value(QStringLiteral("enabled")), false);
    EXPECT_EQ(layoutUpdated.count(), 0);

    menu.addAction(QStringLiteral("New"));
    QCoreApplication::processEvents();
    ASSERT_EQ(layoutUpdated.count(), 1);
    EXPECT_GT(exported.GetLayout(0, -1, {}, layout), revision);
    EXPECT_EQ(layout.children.size(), 2);

    exit->setEnabled(true);
    QSignalSpy triggered(exit, &QAction::triggered);
    exported.Event(layout.children[0].id, QStringLiteral("hovered"), {}, 0);
    exported.Event(layout.children[0].id, QStringLiteral("clicked"), {}, 0);
    EXPECT_EQ(triggered.count(), 0) << "not while the host's call is being answered";
    QCoreApplication::processEvents();
    EXPECT_EQ(triggered.count(), 1);
}

// A caller may ask for any number of ids and names, and any depth: the answer costs no more than
// the menu holds, and comes at once.
TEST(DBusMenuTest, AHugeOrOddRequestIsAnsweredAtOnceWithWhatTheMenuHolds)
{
    QMenu menu;
    QMenu more(QStringLiteral("&More"));
    menu.addAction(QStringLiteral("E&xit"));
    menu.addMenu(&more);
    more.addAction(QStringLiteral("&Inner"));
    DBusMenu exported;
    exported.SetMenu(&menu);
    DBusMenuLayout root;
    exported.GetLayout(0, INT_MIN, {}, root); // every level, as -1 asks
    ASSERT_EQ(root.children.size(), 2);
    ASSERT_EQ(root.children[1].children.size(), 1);
    const int exit = root.children[0].id;

    QList<int> ids;
    for (int i = 0; i < 40000; ++i)
        ids.append(i % 2 ? exit : 1000 + i); // the one item again and again, and ids no item has
    QStringList names;
    for (int i = 0; i < 20000; ++i)
        names.append(QStringLiteral("name%1").arg(i));
    names.append(QStringLiteral("label"));
    QElapsedTimer time;
    time.start();
    const QList<DBusMenuItem> items = exported.GetGroupProperties(ids, names);
    EXPECT_LT(time.elapsed(), 500);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].id, exit);
    EXPECT_EQ(items[0].properties.keys(), QStringList{QStringLiteral("label")});
}

// Over the bus, so that a call with no answer shows: a property an item lacks is an error, at once.
TEST(DBusMenuTest, AskedForAPropertyAnItemLacksItAnswersWithAnError)
{
    const doubles::PrivateSessionBus session;
    ASSERT_FALSE(session.Address().isEmpty()) << "dbus-daemon did not start (scripts/install-deps.sh installs it)";
    platform::RegisterDBusMenuTypes();
    QMenu menu;
    menu.addAction(QStringLiteral("E&xit"));
    DBusMenu exported;
    exported.SetMenu(&menu);
    QDBusConnection server = QDBusConnection::connectToBus(session.Address(), QStringLiteral("menu-server"));
    ASSERT_TRUE(
        server.registerObject(QStringLiteral("/MenuBar"), &exported, QDBusConnection::ExportScriptableContents));
    QDBusConnection host = QDBusConnection::connectToBus(session.Address(), QStringLiteral("menu-host"));
    DBusMenuLayout root;
    exported.GetLayout(0, -1, {}, root);

    for (const auto& [id, name] : {std::pair{0, QStringLiteral("label")}, {root.children[0].id, "icon-name"}}) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(server.baseService(), QStringLiteral("/MenuBar"),
                                           QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("GetProperty"));
        call << id << name;
        QElapsedTimer time;
        time.start();
        const QDBusMessage reply = host.call(call, QDBus::BlockWithGui, 5000);
        EXPECT_EQ(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs")) << name.toStdString();
        EXPECT_LT(time.elapsed(), 2000) << name.toStdString();
    }
    QDBusConnection::disconnectFromBus(host.name());
    QDBusConnection::disconnectFromBus(server.name());
}

} // namespace
