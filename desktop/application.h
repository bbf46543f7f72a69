// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QApplication;

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
    std::string pluginPath;       // -platformpluginpath's, or QT_QPA_PLATFORM_PLUGIN_PATH's, or ""
};

// Reads the command line (argv[0] is the program), QT_QPA_PLATFORM and
// QT_QPA_PLATFORM_PLUGIN_PATH.
[[nodiscard]] CommandLineNeeds commandLineNeeds(int argc, const char* const argv[]);

// Why the platform `platform` (as commandLineNeeds gives it) cannot open a window, read from
// DISPLAY and WAYLAND_DISPLAY, or nothing when it may. Qt's default platform needs one of them,
// "xcb" needs DISPLAY; any other platform, such as "offscreen" or "wayland" (which may find the
// compositor's default socket), is left to Qt. Of a list such as "wayland;xcb", any entry that
// may open a window will do.
[[nodiscard]] std::optional<std::string> missingDisplay(std::string_view platform);

// Creates the QApplication from the command line, on the platform `needs` names. Qt's messages
// meanwhile are held back, and passed on once a platform has started. When none can start,
// where Qt would abort, prints instead the one line of platformFailure after "vantu: " and ends
// the program with status 1.
[[nodiscard]] std::unique_ptr<QApplication> startApplication(int& argc, char** argv,
                                                             const CommandLineNeeds& needs);

// Why no entry of the platform list `needs` names could start, read from the platform plugins
// Qt has and from the displays they would open: "no such window platform: NAME (available:
// NAME, ...)" when no entry names a plugin, else "cannot open a display: " and each entry's
// reason, such as "cannot connect to the X server at DISPLAY=:99" or "no Wayland compositor at
// WAYLAND_DISPLAY=nowhere", joined by "; ". An empty list stands for the Wayland and X displays
// that are set, which Qt's default platforms use.
[[nodiscard]] std::string platformFailure(const CommandLineNeeds& needs);

// Makes the program's exit check that what it wrote to the standard output got there: when
// flushing it fails, the program prints "vantu: cannot write to the standard output: REASON"
// and exits with status 1 instead, whatever status it was ending with.
void checkStandardOutputAtExit();

}  // namespace vantu
