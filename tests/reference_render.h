// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// An independent, deliberately plain rendering of the picture, for comparison with the core:
// one function per pixel, correctly rounded arctangents, sines and cosines straight from MPFR,
// squares by multiplication and the fault flags tested after every stored value. Slow (several
// microseconds a pixel), and only for tests.

#include <array>
#include <optional>
#include <string>

#include "geometry/vec3.h"

namespace vantu::reference {

enum class Map { gnomonic, stereographic, orthographic };

using Normals = std::array<std::array<double, 3>, 3>;

// Where the plane's origin lies in window coordinates; the window's picture by default.
struct Centre {
    double col = 319.5;
    double row = 240.5;
};

// The packed colour of the sample at window coordinates (col, row), or nothing when a fault
// stops it. Whole numbers are the window's pixels; finer samplings sit between them.
[[nodiscard]] std::optional<int> pixel(double col, double row, double scale, double pi, Map map,
                                       const Normals& normals, Centre centre = {});

// The centre of a picture `width` by `height` window pixels: column floor(width / 2) - 0.5, row
// floor(height / 2) + 0.5.
[[nodiscard]] Centre centreOf(int width, int height);

// `normals` turned by the view lon, lat, roll (degrees): each angle reduced modulo 360 (fmod,
// exact), times pi over 180, its cosine and sine from MPFR, then the turn about the vertical
// axis, the horizontal one and the axis towards the viewer in that order, every operation
// rounded in the order written. A view that reduces to 0, 0, 0 leaves them as they are.
[[nodiscard]] Normals turned(const Normals& normals, double lon, double lat, double roll,
                             double pi);

// Whether the sample at window coordinates (col, row) lies near a tie: one of its dot products
// within 1e-9 of zero, or two of its squared distances within 1e-8 of each other, computed
// quickly with the C library's functions. Where this is false, the colour is far from any
// question of rounding.
[[nodiscard]] bool nearTie(double col, double row, double scale, Map map, const Normals& normals,
                           Centre centre = {});

// The colour rule alone, for a point p.
[[nodiscard]] int colour(const std::array<double, 3>& p,
                         const std::array<std::array<double, 3>, 3>& normals);

}  // namespace vantu::reference
