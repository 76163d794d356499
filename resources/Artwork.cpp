#include "resources/Artwork.h"

#include <QImageReader>
#include <QPixmapCache>

QPixmap Artwork(const QString& name)
{
    // The same picture serves the splash, the strip, its tray icon and the other windows: read
    // once while Qt's pixmap cache keeps it.
    const QString key = QStringLiteral("stackle-artwork:") + name;
    QPixmap picture;
    if (QPixmapCache::find(key, &picture))
        return picture;
    QImageReader reader(QStringLiteral(":/") + name + QStringLiteral(".png"), "png");
    reader.setAutoDetectImageFormat(false);
    picture = QPixmap::fromImage(reader.read());
    QPixmapCache::insert(key, picture);
    return picture;
}
