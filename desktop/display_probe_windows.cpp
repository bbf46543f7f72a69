// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "desktop/display_probe.h"

#include <optional>
#include <string>
#include <vector>

#include "desktop/application.h"

namespace vantu {

namespace detail {

std::vector<std::string> defaultPlatforms() {
    return {"windows"};
}

std::string platformProblem(const std::string& /*plugin*/) {
    return {};
}

}  // namespace detail

// A Windows session always has its desktop.
std::optional<std::string> missingDisplay(std::string_view /*platform*/) {
    return std::nullopt;
}

}  // namespace vantu
