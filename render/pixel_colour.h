// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>

#include "geometry/geometry.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"

namespace vantu {

// The colour of the pixel that shows the unit vector `p`, for the mirror normals `n`.
// Brightness: how many mirrors have p on their non-negative side (none counts as two). Hue: the
// order of the squared distances D1, D2, D3 between the mirror images of p. One of 21 colours.
[[nodiscard]] PackedColour pixelColour(const Vec3& p, const Mirrors& n) noexcept;

// The squared distances D1, D2, D3 between the mirror images of the unit vector `p`, computed
// exactly as the colouring computes them.
[[nodiscard]] std::array<double, 3> mirrorDistances(const Vec3& p, const Mirrors& n) noexcept;

// How many colours pixelColour gives: three brightnesses of six hues and of white.
inline constexpr int colourCount = 21;

// Every colour pixelColour can give, brightness by brightness (one mirror, two, three), each in
// the order of which of the three comparisons (red, green, blue) hold, white last. Together
// with grey, every colour of a picture drawn with one sample per pixel.
[[nodiscard]] std::array<PackedColour, colourCount> pictureColours() noexcept;

namespace detail {

// The dot products a1, a2, a3 of a point with the normals, and the squared distances D1, D2, D3
// between its mirror images (D1 between the images in mirrors 2 and 3, and so on).
struct MirrorMeasures {
    double a1, a2, a3;
    double d1, d2, d3;
};

// The measures the colouring of `p` rests on, each computed in the colouring's order.
[[nodiscard]] inline MirrorMeasures measureMirrors(const Vec3& p, const Mirrors& n) noexcept;

// pixelColour with the rule written out, inline for the scan loop.
[[nodiscard]] inline PackedColour colourOf(const Vec3& p, const Mirrors& n) noexcept;

// The measures of the homogeneous point `p` of a plane, `geometry` Euclidean or hyperbolic, with
// every stored value passed through `check` (render/scan.h): the sphere's rule with the
// geometry's own product and reflections.
//   hyperbolic: ai = <Ni, P> = (Niy Py + Nix Px) - Niz Pz, Qi = P - (2 ai) Ni, and
//               D1 = ((Q2y - Q3y)^2 + (Q2x - Q3x)^2) - (Q2z - Q3z)^2, D2 and D3 likewise;
//   Euclidean:  ai = (Nix Px + Niy Py) + Niz Pz, Qi = P - (2 ai) (Nix, Niy, 0), and
//               D1 = (Q2y - Q3y)^2 + (Q2x - Q3x)^2, D2 and D3 likewise.
template <Geometry geometry, class Check>
[[nodiscard]] inline MirrorMeasures measureMirrorsIn(const Vec3& p, const Mirrors& n, Check& check);

// The colour of the point `p` of `geometry`: colourOf on the sphere (unchecked, as it always
// was), and in the planes the rule over measureMirrorsIn.
template <Geometry geometry, class Check>
[[nodiscard]] inline PackedColour colourIn(const Vec3& p, const Mirrors& n, Check& check);

}  // namespace detail
}  // namespace vantu

#include "render/pixel_colour_inl.h"
