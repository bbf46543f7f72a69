// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What a point's colour says about where it lies, in words: its cell, from the signs of its dot
// products with the normals, and its hue, from the colour rule read backwards. The squared
// distance Di between two mirror images is 4 sin^2(angle at vertex i) sin^2(arc from the point
// to vertex i), D1 for vertex A, D2 for B, D3 for C: the hue names the vertex of the smallest
// and of the largest of the three.

#include <string>

#include "geometry/raster.h"
#include "render/colour_rule.h"

namespace vantu {

// The vertices (0 for A, 1 for B, 2 for C) whose squared distances are the smallest and the
// largest, or -1 where the comparisons leave none (where all three are equal).
struct HueVertices {
    int nearest = -1;
    int farthest = -1;
    friend constexpr bool operator==(const HueVertices&, const HueVertices&) = default;
};

// The vertices of a decoded colour. Comparison i (red, green, blue) is D_i > D_(i+1), so D_i is
// the smallest where its own comparison fails and the one before it holds, and the largest
// where its own holds and the one before it fails.
[[nodiscard]] constexpr HueVertices hueVertices(const colour_rule::Decoded& decoded) noexcept {
    const bool holds[3] = {decoded.redHolds, decoded.greenHolds, decoded.blueHolds};
    HueVertices vertices;
    for (int i = 0; i < 3; ++i) {
        const bool before = holds[(i + 2) % 3];
        if (!holds[i] && before) {
            vertices.nearest = i;
        }
        if (holds[i] && !before) {
            vertices.farthest = i;
        }
    }
    return vertices;
}

// The cell a point lies in, by the signs of its dot products a1, a2, a3 with the normals (zero
// of either sign on the non-negative side, as the side count has it): "the triangle", "across
// mirror 2", "across mirrors 1 and 3" or "the triangle's antipode".
[[nodiscard]] std::string cellWords(double a1, double a2, double a3);

// The hue of `colour`, one of the colouring's, in words: "nearest vertex A, farthest B", or
// "all three vertices alike" where the hues meet.
[[nodiscard]] std::string hueWords(PackedColour colour);

}  // namespace vantu
