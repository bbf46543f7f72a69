// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The view: how the sphere is turned before it is pictured.

#include "geometry/vec3.h"

namespace vantu {

// Three angles in degrees. The picture shows the sphere turned by `lon` about the picture's
// vertical axis (positive moves the front to the right), then by `lat` about its horizontal axis
// (positive moves the front down), then by `roll` about the axis towards the viewer (positive
// turns the picture counter-clockwise). The default, 0, 0, 0, is the picture as it always was.
struct View {
    double lon = 0.0;
    double lat = 0.0;
    double roll = 0.0;
    friend bool operator==(const View&, const View&) = default;
};

// `normals` turned by `view`, with the drawing's `pi`: each angle r = (angle * pi) / 180, its
// correctly rounded cosine c and sine s, and each normal turned in three steps, every operation
// rounded in the order written:
//   lon:  (x, y, z) <- ((c1 x) + (s1 z), y, (c1 z) - (s1 x))
//   lat:  (x, y, z) <- (x, (c2 y) - (s2 z), (s2 y) + (c2 z))
//   roll: (x, y, z) <- ((c3 x) - (s3 y), (s3 x) + (c3 y), z)
// The view 0, 0, 0 returns `normals` exactly as they are. Raises no fault flag for finite
// angles.
[[nodiscard]] Mirrors turned(const Mirrors& normals, const View& view, double pi) noexcept;

// The point of the sphere that `view` brings to `p`: `p` turned back by roll, then lat, then
// lon, with the same angles as `turned`. For reading the picture, not for drawing it: it undoes
// `turned` to within rounding, not bit for bit.
[[nodiscard]] Vec3 turnedBack(const Vec3& p, const View& view, double pi) noexcept;

}  // namespace vantu
