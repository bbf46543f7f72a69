// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "polyhedron/polyhedron.h"

namespace vantu {

std::array<std::uint8_t, 3> faceColour(const Polyhedron& polyhedron, int type) {
    // The faces around A, B and C and the snub triangles, in hues far apart.
    static constexpr std::array<std::array<std::uint8_t, 3>, 4> colours{{
        {230, 80, 60},    // around A
        {245, 200, 60},   // around B
        {70, 140, 230},   // around C
        {120, 200, 120},  // the snub triangles
    }};
    const int origin = polyhedron.faceTypes.at(static_cast<std::size_t>(type)).origin;
    return colours.at(static_cast<std::size_t>(origin));
}

}  // namespace vantu
