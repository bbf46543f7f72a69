// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What each colour of a picture means, in words: the one home of the words that the gallery's
// legend, the Explorer's legend and its status bar show. A colour's brightness is its side count,
// which tells the cell its point lies in; its hue is the order of the squared distances D1, D2, D3
// between the point's mirror images, read backwards from the colour rule's comparisons (Di is
// 4 sin^2(angle at vertex i) sin^2(arc from the point to vertex i), D1 for vertex A, D2 for B, D3
// for C). The legend says this in general words, for every point of a colour; the status bar in
// the words of one point, naming its mirrors.
//
// Only the sphere has a point with all three dots negative, the triangle's antipode, drawn with
// the brightness of across one mirror. A plane has none: a point of the Euclidean plane has
// sum(side i x a_i) = twice the triangle's area > 0, and a point of the hyperboloid is
// alpha A + beta B + gamma C with a1 = alpha <N1, A> and so on, each <Ni, vertex i> > 0, so that
// all three negative would put -P among the positive combinations of the vertices, P on the
// sheet z < 0. Each function that words a cell takes the geometry, the sphere's by default.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/geometry.h"
#include "geometry/raster.h"
#include "render/colour_rule.h"
#include "render/pixel_colour.h"

namespace vantu {

// The vertices (0 for A, 1 for B, 2 for C) whose squared distances are the smallest and the
// largest, or -1 where the comparisons leave none (grey, where all three are equal).
struct HueVertices {
    int nearest = -1;
    int farthest = -1;
    friend constexpr bool operator==(const HueVertices&, const HueVertices&) = default;
};

// The vertices of a hue, from its comparisons in colour_rule::hueRules. Comparison i (red, green,
// blue) is D_i > D_(i+1), so D_i is the smallest where its own comparison fails and the one
// before it holds, and the largest where its own holds and the one before it fails.
[[nodiscard]] constexpr HueVertices hueVertices(colour_rule::Hue hue) noexcept {
    const colour_rule::HueRule& rule = colour_rule::hueRules[static_cast<int>(hue)];
    const bool holds[3] = {rule.redHolds, rule.greenHolds, rule.blueHolds};
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

// The vertices of a colour of the rule: those of its hue.
[[nodiscard]] constexpr HueVertices hueVertices(PackedColour colour) noexcept {
    return hueVertices(colour_rule::hueOf(colour_rule::decode(colour)));
}

// The name of vertex 0, 1 or 2: "A", "B", "C".
[[nodiscard]] std::string vertexName(int vertex);

// --- The legend's words, for every point of a colour -------------------------------------------

// The meaning of one of the 21 colours.
struct ColourMeaning {
    PackedColour colour = 0;
    colour_rule::Hue hue = colour_rule::Hue::grey;
    int sideCount = 0;      // 1 to 3: the brightness
    std::string_view name;  // of the hue: "red" ... "magenta", "grey", "white" (grey at 3)
    std::string_view cell;  // sideCountWords(sideCount)
    std::string order;      // hueWords(hue)
};

// The cell of a point with `nonNegative` (0 to 3) of its three dots with the normals
// non-negative: 3 "the triangle", 2 "across one mirror", 1 "across two mirrors", 0 "the
// antipode, drawn as across one". Anything else reads as 0.
[[nodiscard]] std::string_view cellWords(int nonNegative) noexcept;

// The cells a colour's brightness stands for: side count 3 "the triangle", 2 "across one mirror,
// or the antipode, drawn as across one" ("across one mirror" in the planes), 1 "across two
// mirrors"; empty for anything else.
[[nodiscard]] std::string_view sideCountWords(int sideCount,
                                              Geometry geometry = Geometry::spherical) noexcept;

// The name of a hue at a side count: "red", "yellow", "green", "cyan", "blue", "magenta", and
// for the hue where all distances are equal "grey", or "white" at side count 3.
[[nodiscard]] std::string_view hueName(colour_rule::Hue hue, int sideCount) noexcept;

// Which vertex's distance is the smallest and which the largest in a hue (hueVertices), as in
// "D1 (vertex A) smallest, D2 (vertex B) largest"; for grey "D1 = D2 = D3, where the six hues
// meet".
[[nodiscard]] std::string hueWords(colour_rule::Hue hue);

// What D1, D2 and D3 are, for a legend's caption.
inline constexpr std::string_view distanceNote =
    "D1, D2, D3: the squared distances between the point's images in the two mirrors that meet "
    "at vertex A, B, C";

// The meaning of `colour`, one of the 21 colours a point of `geometry` gets; nothing for any
// other colour (grey off the sphere or the model, an average of samples, an overlay's).
[[nodiscard]] std::optional<ColourMeaning> colourMeaning(PackedColour colour,
                                                         Geometry geometry = Geometry::spherical);

// The whole meaning of a colour in words, its hue's name, cell and order: "red: the triangle; D1
// (vertex A) smallest, D2 (vertex B) largest".
[[nodiscard]] std::string meaningWords(const ColourMeaning& meaning);

// The 21 colours as a legend shows them, brightness by hue: hue by hue in the order of Hue, each
// at side count 3, 2 and 1, in the words of `geometry`.
[[nodiscard]] std::array<ColourMeaning, colourCount> legend(
    Geometry geometry = Geometry::spherical);

// --- The words of one point --------------------------------------------------------------------

// The cell a point lies in, by the signs of its dot products a1, a2, a3 with the normals (zero
// of either sign on the non-negative side, as the side count has it), naming the mirrors it lies
// across: "the triangle", "across mirror 2", "across mirrors 1 and 3" or, on the sphere, "the
// triangle's antipode" (in a plane, which has no such point, "across mirrors 1, 2 and 3").
[[nodiscard]] std::string pointCellWords(double a1, double a2, double a3,
                                         Geometry geometry = Geometry::spherical);

// The hue of `colour`, one of the colouring's, in a point's words (hueVertices): "nearest vertex
// A, farthest B", or "all three vertices alike" where the hues meet.
[[nodiscard]] std::string pointHueWords(PackedColour colour);

}  // namespace vantu
