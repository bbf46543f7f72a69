// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The three projections by which a picture shows the sphere, and the names users know them by.

#include <array>
#include <string_view>

namespace vantu {

// How a pixel's offset from the picture centre maps to a point of the unit sphere.
enum class Projection {
    gnomonic,       // "gnome": distance R * tan(theta)
    stereographic,  // "stereo": distance 2R * tan(theta / 2)
    orthographic,   // "ortho": distance 2R * sin(theta), grey outside the disc
};

// A projection with the name of its option button.
struct ProjectionName {
    Projection projection;
    std::string_view name;
};

// Every projection, in the order the window's option buttons show them.
inline constexpr std::array<ProjectionName, 3> projectionNames = {{
    {Projection::stereographic, "stereo"},
    {Projection::gnomonic, "gnome"},
    {Projection::orthographic, "ortho"},
}};

// "stereo", "gnome" or "ortho".
[[nodiscard]] constexpr std::string_view projectionName(Projection projection) noexcept {
    for (const ProjectionName& p : projectionNames) {
        if (p.projection == projection) {
            return p.name;
        }
    }
    return "ortho";
}

}  // namespace vantu
