#pragma once

namespace widgets {

// Lets screen readers see click labels as push buttons and switch labels as check boxes, named
// by their accessible names or else by their text, whose press (or toggle) action does what a
// left click does. Safe to call any number of times.
void InstallClickLabelAccessibility();

} // namespace widgets
