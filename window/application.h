// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantu {

// Prepares Qt for the window; call before the QApplication is created. It selects Qt's own
// event dispatcher instead of GLib's: a drawing yields to the window's events after each of its
// 481 rows, and a GLib iteration costs about twice as much as Qt's own, which is the larger part
// of a yield. Nothing in the window needs GLib's main loop. Leaves a QT_NO_GLIB already set as
// it is.
void prepareApplication();

// What a command line needs before Qt reads it.
struct CommandLineNeeds {
    bool textOnly = false;        // it asks for the help or the version, which need no display
    bool helpAll = false;         // it asks for the help with Qt's options
    bool platformOption = false;  // it has -platform
    std::string platform;         // the value of -platform, or QT_QPA_PLATFORM's, or ""
};

// Reads the command line (argv[0] is the program) and QT_QPA_PLATFORM.
[[nodiscard]] CommandLineNeeds commandLineNeeds(int argc, const char* const argv[]);

// Why the platform `platform` (as commandLineNeeds gives it) cannot open a window, read from
// DISPLAY and WAYLAND_DISPLAY, or nothing when it may. Qt's default platform needs one of them,
// "xcb" needs DISPLAY; any other platform, such as "offscreen" or "wayland" (which may find the
// compositor's default socket), is left to Qt. Of a list such as "wayland;xcb", any entry that
// may open a window will do.
[[nodiscard]] std::optional<std::string> missingDisplay(std::string_view platform);

}  // namespace vantu
