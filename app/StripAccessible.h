#pragma once

// Lets screen readers see the strip as the program's frame, named after it and active while it
// has the focus: a reader follows the focus from control to control only within the active
// frame. Safe to call any number of times.
void InstallStripAccessibility();
