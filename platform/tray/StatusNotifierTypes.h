#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

class QIcon;

namespace platform {

// The values org.kde.StatusNotifierItem sends beside the plain ones.

// A picture: width, height and its pixels as ARGB32 in network byte order, row by row: (iiay).
struct DBusImage {
    int width = 0;
    int height = 0;
    QByteArray pixels;
};
using DBusImages = QList<DBusImage>;

// A tool tip: an icon's name, its pictures, a title and a text below it: (sa(iiay)ss).
struct DBusToolTip {
    QString iconName;
    DBusImages images;
    QString title;
    QString text;
};

QDBusArgument& operator<<(QDBusArgument& argument, const DBusImage& image);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusImage& image);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusToolTip& toolTip);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusToolTip& toolTip);

// Makes the types above known to QtDBus; needed before an object using them is exported.
void RegisterStatusNotifierTypes();

// The icon's pictures in the sizes panels draw tray icons at, each scaled from the icon's nearest
// picture when it has none of that size.
DBusImages ToDBusImages(const QIcon& icon);

} // namespace platform

Q_DECLARE_METATYPE(platform::DBusImage)
Q_DECLARE_METATYPE(platform::DBusToolTip)
