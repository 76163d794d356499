#include "resources/Artwork.h"

#include <QImageReader>

QPixmap Artwork(const QString& name)
{
    QImageReader reader(QStringLiteral(":/") + name + QStringLiteral(".png"), "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}
