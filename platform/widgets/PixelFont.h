#pragma once

#include <QFont>

// The program's own typeface, which it carries inside itself (resources/ProgramFonts.h).
inline QString ProgramFontFamily()
{
    return QStringLiteral("DejaVu Sans Condensed");
}

// The windows are drawn with fonts of given pixel heights, which a Designer file cannot hold
// (it knows points only).
inline QFont PixelFont(int pixels, bool bold, const QString& family = ProgramFontFamily())
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}
