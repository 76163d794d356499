#pragma once

#include <QFont>

// The windows are drawn with fonts of given pixel heights, which a Designer file cannot hold
// (it knows points only).
inline QFont PixelFont(int pixels, bool bold, const QString& family = QStringLiteral("DejaVu Sans Condensed"))
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}
