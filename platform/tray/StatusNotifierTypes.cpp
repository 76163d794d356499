#include "platform/tray/StatusNotifierTypes.h"

#include "platform/dbus/DBusStructure.h"

#include <QDBusMetaType>
#include <QIcon>
#include <QImage>
#include <QtEndian>

namespace platform {

namespace {

// The sizes panels commonly draw tray icons at; a host scales the nearest one to its own.
constexpr int PanelIconSizes[] = {16, 22, 24, 32, 48, 64};

DBusImage ToDBusImage(QImage image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    DBusImage picture{image.width(), image.height(), QByteArray(image.width() * image.height() * 4, Qt::Uninitialized)};
    auto* out = reinterpret_cast<uchar*>(picture.pixels.data());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, out += 4)
            qToBigEndian(row[x], out);
    }
    return picture;
}

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const DBusImage& image)
{
    return WriteStructure(argument, image.width, image.height, image.pixels);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusImage& image)
{
    return ReadStructure(argument, image.width, image.height, image.pixels);
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusToolTip& toolTip)
{
    return WriteStructure(argument, toolTip.iconName, toolTip.images, toolTip.title, toolTip.text);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusToolTip& toolTip)
{
    return ReadStructure(argument, toolTip.iconName, toolTip.images, toolTip.title, toolTip.text);
}

void RegisterStatusNotifierTypes()
{
    qDBusRegisterMetaType<DBusImage>();
    qDBusRegisterMetaType<DBusImages>();
    qDBusRegisterMetaType<DBusToolTip>();
}

DBusImages ToDBusImages(const QIcon& icon)
{
    DBusImages images;
    for (const int size : PanelIconSizes) {
        QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
        if (image.isNull())
            continue;
        if (image.size() != QSize(size, size))
            image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        images.append(ToDBusImage(image));
    }
    return images;
}

} // namespace platform
