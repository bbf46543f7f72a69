// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "desktop/display_probe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <xcb/xcb.h>

#include "desktop/application.h"

namespace vantu {

namespace detail {
namespace {

// Why the X server that DISPLAY names cannot be reached, or "" when it can.
std::string xFailure() {
    if (!isSet("DISPLAY")) {
        return *missingDisplay("xcb");
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    const std::string display = "DISPLAY=" + valueOf("DISPLAY");
    switch (error) {
        case 0:
            return {};
        case XCB_CONN_CLOSED_PARSE_ERR:
            return display + " does not name an X display";
        case XCB_CONN_CLOSED_INVALID_SCREEN:
            return "the X server at " + display + " has no such screen";
        default:
            return "cannot connect to the X server at " + display;
    }
}

// Whether a program listens on the Unix socket `path`.
bool acceptsConnections(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

// Why no Wayland compositor can be reached where libwayland looks for one, or "" when one can.
std::string waylandFailure() {
    if (isSet("WAYLAND_SOCKET")) {
        // A connection handed down by the parent process, which cannot be tried twice.
        return {};
    }
    const std::string name = valueOf("WAYLAND_DISPLAY");
    const std::string where = name.empty() ? std::string("wayland-0 (WAYLAND_DISPLAY is not set)")
                                           : "WAYLAND_DISPLAY=" + name;
    std::string path = name.empty() ? std::string("wayland-0") : name;
    if (path.front() != '/') {
        if (!isSet("XDG_RUNTIME_DIR")) {
            return "no Wayland compositor at " + where + ": XDG_RUNTIME_DIR is not set";
        }
        path = valueOf("XDG_RUNTIME_DIR") + "/" + path;
    }
    return acceptsConnections(path) ? std::string() : "no Wayland compositor at " + where;
}

}  // namespace

std::vector<std::string> defaultPlatforms() {
    // Qt tries Wayland first when its display is set, then X.
    std::vector<std::string> names;
    if (isSet("WAYLAND_DISPLAY")) {
        names.emplace_back("wayland");
    }
    if (isSet("DISPLAY")) {
        names.emplace_back("xcb");
    }
    return names;
}

std::string platformProblem(const std::string& plugin) {
    if (plugin == "xcb") {
        return xFailure();
    }
    if (plugin.starts_with("wayland")) {
        return waylandFailure();
    }
    return {};
}

}  // namespace detail

using detail::isSet;

std::optional<std::string> missingDisplay(std::string_view platform) {
    const std::vector<std::string_view> names = detail::platformNames(platform);
    if (platform.empty()) {
        if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) {
            return std::nullopt;
        }
        return "neither DISPLAY nor WAYLAND_DISPLAY is set";
    }
    if (std::any_of(names.begin(), names.end(),
                    [](std::string_view name) { return name != "xcb" || isSet("DISPLAY"); })) {
        return std::nullopt;
    }
    return "DISPLAY is not set";
}

}  // namespace vantu
