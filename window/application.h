#pragma once

namespace vantu {

// Prepares Qt for the window; call before the QApplication is created. It selects Qt's own
// event dispatcher instead of GLib's: a drawing yields to the window's events after each of its
// 481 rows, and a GLib iteration costs about twice as much as Qt's own, which is the larger part
// of a yield. Nothing in the window needs GLib's main loop. Leaves a QT_NO_GLIB already set as
// it is.
void prepareApplication();

}  // namespace vantu
