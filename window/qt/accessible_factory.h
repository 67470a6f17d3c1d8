// What screen readers get of the window: its boxes through an interface of our own
// (accessible_box.h), the window as a window, the announcer as a notification, and a box's
// changes told in code points.
#pragma once

namespace quorvane {

// Installs, once per process, the accessibility factory for the window and its boxes. Qt 6.4's
// own text boxes hang on a word query at the end of the text and cut the last character off
// what Orca speaks (every offset is a text-attribute run of its own).
void InstallAccessibility();

}  // namespace quorvane
