#pragma once

#include <QPixmap>
#include <QString>

// One of the program's own pictures by name ("stackle", "arrow-up", ...). Read as PNG
// directly: letting Qt guess the format would load every image plugin at start-up. Each picture
// is read once, and kept while Qt's pixmap cache has room for it.
QPixmap Artwork(const QString& name);
