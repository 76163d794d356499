#pragma once

// Registers the typefaces the windows are drawn in, which the program carries inside itself, so
// that every window looks the same, to the pixel, whatever fonts the machine has: none of them,
// or another version of them. Call it once the application object exists and before the first
// window is built.
void LoadProgramFonts();
