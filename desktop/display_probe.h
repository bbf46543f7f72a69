// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Inside desktop/: what the start-up asks of the system's displays, once per system
// (display_probe_posix.cpp: X and Wayland; display_probe_windows.cpp: the desktop Windows
// always has).

#include <string>
#include <string_view>
#include <vector>

namespace vantu::detail {

// Whether the environment variable `variable` is set and not empty; its value.
[[nodiscard]] bool isSet(const char* variable);
[[nodiscard]] std::string valueOf(const char* variable);

// The plugin names of a platform list such as "wayland;xcb:option", in order.
[[nodiscard]] std::vector<std::string_view> platformNames(std::string_view platform);

// The platforms Qt tries when none is named, in its order; none when no display is set.
[[nodiscard]] std::vector<std::string> defaultPlatforms();

// Why the platform plugin `plugin` (in lower case) cannot reach its display, or "" when it can
// or when nothing more can be said than that it did not start.
[[nodiscard]] std::string platformProblem(const std::string& plugin);

}  // namespace vantu::detail
