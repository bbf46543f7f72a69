// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The view: how the sphere is turned before it is pictured.

#include "geometry/geometry.h"
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

// `degrees` reduced modulo 360: fmod(degrees, 360), which is exact, so the remainder keeps the
// sign of `degrees` and lies strictly between -360 and 360. An angle already there is returned as
// it is; any other finite angle, however large, becomes the angle it equals modulo 360 (1e20 is
// 280, 1e300 is 0). Every view angle is reduced so before it is turned into radians.
[[nodiscard]] double reducedDegrees(double degrees) noexcept;

// The view with each of its angles reducedDegrees: the view that is drawn.
[[nodiscard]] View reducedView(const View& view) noexcept;

// `normals` turned by `view`, with the drawing's `pi`: each angle reduced (reducedDegrees), then
// r = (angle * pi) / 180, its correctly rounded cosine c and sine s, and each normal turned in
// three steps, every operation rounded in the order written:
//   lon:  (x, y, z) <- ((c1 x) + (s1 z), y, (c1 z) - (s1 x))
//   lat:  (x, y, z) <- (x, (c2 y) - (s2 z), (s2 y) + (c2 z))
//   roll: (x, y, z) <- ((c3 x) - (s3 y), (s3 x) + (c3 y), z)
// A view that reduces to 0, 0, 0 (360, 0, -720 too) returns `normals` exactly as they are.
// Raises no fault flag for finite angles.
[[nodiscard]] Mirrors turned(const Mirrors& normals, const View& view, double pi) noexcept;

// The point of the sphere that `view` brings to `p`: `p` turned back by roll, then lat, then
// lon, with the same reduced angles as `turned`. For reading the picture, not for drawing it: it
// undoes `turned` to within rounding, not bit for bit.
[[nodiscard]] Vec3 turnedBack(const Vec3& p, const View& view, double pi) noexcept;

// The mirrors of a plane, `geometry` Euclidean or hyperbolic (their normals in the geometry's
// own terms), moved by `view`: the plane moved by a length of (LON * pi) / 180 to the right along
// the horizontal line through the centre, then by (LAT * pi) / 180 down along the vertical one
// (as LAT moves the sphere's front down), then rolled by ROLL degrees about the centre
// counter-clockwise, ROLL reduced as on the sphere and LON and LAT taken as they are. Hyperbolic
// lengths are in units of the curvature radius, with ch = cr::cosh and sh = cr::sinh of each
// length, and every normal moved as the points are:
//   lon:  (x, y, z) <- ((ch1 x) + (sh1 z), y, (sh1 x) + (ch1 z))
//   lat:  (x, y, z) <- (x, (ch2 y) - (sh2 z), (ch2 z) - (sh2 y))
// Euclidean lengths are in side c, and a line (a, b, c) moves as
//   lon:  c <- c - (a t1)
//   lat:  c <- c + (b t2)
// The roll is the sphere's: (x, y, z) <- ((c3 x) - (s3 y), (s3 x) + (c3 y), z). A view of 0, 0, 0
// (or a ROLL that reduces to 0 with the others 0) returns `normals` as they are. A long move can
// overflow: a normal is then not finite, which the caller checks. On the sphere this is `turned`.
[[nodiscard]] Mirrors moved(const Mirrors& normals, const View& view, double pi,
                            Geometry geometry) noexcept;

// The point of the plane that `view` brings to the homogeneous point `p`: `moved` undone step by
// step (roll, then lat, then lon), for reading the picture; on the sphere `turnedBack`.
[[nodiscard]] Vec3 movedBack(const Vec3& p, const View& view, double pi,
                             Geometry geometry) noexcept;

}  // namespace vantu
