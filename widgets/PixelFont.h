#pragma once

#include "resources/ProgramFonts.h"

#include <QFont>

namespace widgets {

// The windows are drawn with fonts of given pixel heights, which a Designer file cannot hold
// (it knows points only).
inline QFont PixelFont(int pixels, bool bold, const QString& family = ProgramFontFamily())
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace widgets
