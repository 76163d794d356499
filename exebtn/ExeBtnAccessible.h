#pragma once

// Lets screen readers see every launcher button as a push button named after its file, with the
// file's full path as its description, whose press action does what a left click does. Safe to
// call any number of times.
void InstallExeBtnAccessibility();
