// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "window/application.h"

#include <algorithm>
#include <cstddef>

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace vantu {

namespace {

bool isSet(const char* variable) {
    return !qEnvironmentVariableIsEmpty(variable);
}

}  // namespace

void prepareApplication() {
    if (!isSet("QT_NO_GLIB")) {
        qputenv("QT_NO_GLIB", "1");
    }
}

CommandLineNeeds commandLineNeeds(int argc, const char* const argv[]) {
    CommandLineNeeds needs;
    needs.platform = qEnvironmentVariable("QT_QPA_PLATFORM").toStdString();
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "--version" ||
            arg == "-v") {
            needs.textOnly = true;
            needs.helpAll = needs.helpAll || arg == "--help-all";
        } else if ((arg == "-platform" || arg == "--platform") && i + 1 < argc) {
            needs.platform = argv[++i];
            needs.platformOption = true;
        }
    }
    return needs;
}

std::optional<std::string> missingDisplay(std::string_view platform) {
    if (platform.empty()) {
        if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) {
            return std::nullopt;
        }
        return "neither DISPLAY nor WAYLAND_DISPLAY is set";
    }
    // Each entry is a plugin's name, possibly followed by ':' and its options.
    for (std::size_t start = 0; start <= platform.size();) {
        const std::size_t end = std::min(platform.find(';', start), platform.size());
        const std::string_view entry = platform.substr(start, end - start);
        const std::string_view name = entry.substr(0, entry.find(':'));
        if (!name.empty() && (name != "xcb" || isSet("DISPLAY"))) {
            return std::nullopt;
        }
        start = end + 1;
    }
    return "DISPLAY is not set";
}

}  // namespace vantu
