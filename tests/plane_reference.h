// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// An independent, deliberately plain rendering of the Euclidean and the hyperbolic plane, for
// comparison with the core: its own solver of the plane triangles, its own models, its own moves
// and its own colour rule, one function per sample, the elementary functions straight from MPFR
// and the fault flags tested after each step. Shares nothing with the core but its results'
// packing (red + 256 green + 65536 blue).

#include <array>
#include <optional>

namespace vantu::plane_reference {

enum class Plane { euclidean, hyperbolic };

// The option's model: Euclidean plane in all four; in the hyperbolic plane the Poincare disk,
// the Beltrami-Klein disk, the Gans model and the upper half-plane.
enum class Model { stereo, gnome, ortho, halfplane };

using Normals = std::array<std::array<double, 3>, 3>;

// The mirrors of the triangle with the angles (pi / p[i]) * d[i] in the plane its angles make,
// solved with `pi`: in the hyperbolic plane the normals N of <N, N> = 1 under the form
// (uy vy + ux vx) - uz vz, in the Euclidean one lines (a, b, c) with a^2 + b^2 = 1.
struct Triangle {
    std::array<int, 3> p;
    std::array<int, 3> d{1, 1, 1};
};
[[nodiscard]] Normals solve(const Triangle& t, Plane plane, double pi);

// The three vertices A, B, C of the solved triangle, homogeneous, for checks of the solver.
[[nodiscard]] Normals vertices(const Triangle& t, Plane plane, double pi);

// The normals moved by the view: LON and LAT lengths (times pi / 180) right and down, then ROLL
// degrees counter-clockwise.
[[nodiscard]] Normals moved(const Normals& n, double lon, double lat, double roll, double pi,
                            Plane plane);

// The packed colour of the sample at window coordinates (col, row) with the plane's origin at
// (centreCol, centreRow); grey outside the model; nothing when a fault stops it.
[[nodiscard]] std::optional<int> sample(double col, double row, double scale, double centreCol,
                                        double centreRow, Model model, Plane plane,
                                        const Normals& n);

// The form of the plane: <u, v> in the hyperbolic plane, the dot product in the Euclidean one.
[[nodiscard]] double form(const std::array<double, 3>& u, const std::array<double, 3>& v,
                          Plane plane);

}  // namespace vantu::plane_reference
