#pragma once

#include <QString>

// Registers the typefaces the windows are drawn in, which the program carries inside itself, so
// that every window looks the same, to the pixel, whatever fonts the machine has: none of them,
// or another version of them. Call it once the application object exists and before the first
// window is built. On a machine without DejaVu Sans, fontconfig, which prefers it for sans-serif,
// then also gives the condensed face to what is drawn in the desktop's font (menus, hints,
// message boxes).
void LoadProgramFonts();

// The typeface the windows are drawn in, one of those LoadProgramFonts registers.
inline QString ProgramFontFamily()
{
    return QStringLiteral("DejaVu Sans Condensed");
}
