// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What each colour of a picture means, in words: the one home of the legend that the gallery's
// page, the Explorer's legend and its status bar show. Built on the colour rule's decode and its
// hues.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/raster.h"
#include "render/colour_rule.h"
#include "render/pixel_colour.h"

namespace vantu {

// The meaning of one of the 21 colours.
struct ColourMeaning {
    PackedColour colour = 0;
    colour_rule::Hue hue = colour_rule::Hue::grey;
    int sideCount = 0;       // 1 to 3: the brightness
    std::string_view name;   // of the hue: "red" ... "magenta", "grey", "white" (grey at 3)
    std::string_view cell;   // sideCountWords(sideCount)
    std::string_view order;  // hueWords(hue)
};

// The cell of a point with `nonNegative` (0 to 3) of its three dots with the normals
// non-negative: 3 "the triangle", 2 "across one mirror", 1 "across two mirrors", 0 "the
// antipode, drawn as across one". Anything else reads as 0.
[[nodiscard]] std::string_view cellWords(int nonNegative) noexcept;

// The cells a colour's brightness stands for: side count 3 "the triangle", 2 "across one mirror,
// or the antipode, drawn as across one", 1 "across two mirrors"; empty for anything else.
[[nodiscard]] std::string_view sideCountWords(int sideCount) noexcept;

// The name of a hue at a side count: "red", "yellow", "green", "cyan", "blue", "magenta", and
// for the hue where all distances are equal "grey", or "white" at side count 3.
[[nodiscard]] std::string_view hueName(colour_rule::Hue hue, int sideCount) noexcept;

// Which vertex's distance is the smallest and which the largest in a hue, as in "D1 (vertex A)
// smallest, D2 (vertex B) largest"; for grey "D1 = D2 = D3, where the six hues meet".
[[nodiscard]] std::string_view hueWords(colour_rule::Hue hue) noexcept;

// What D1, D2 and D3 are, for a legend's caption.
inline constexpr std::string_view distanceNote =
    "D1, D2, D3: the squared distances between the point's images in the two mirrors that meet "
    "at vertex A, B, C";

// The meaning of `colour`, one of the 21 colours a point of the sphere gets; nothing for any
// other colour (grey off the sphere, an average of samples, an overlay's).
[[nodiscard]] std::optional<ColourMeaning> colourMeaning(PackedColour colour) noexcept;

// The 21 colours as a legend shows them, brightness by hue: hue by hue in the order of Hue, each
// at side count 3, 2 and 1.
[[nodiscard]] std::array<ColourMeaning, colourCount> legend() noexcept;

}  // namespace vantu
