// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// snub/: the points where the six hues meet, the generating points of the snub polyhedra built
// on the triangle. A search over the sphere by Newton's method, seeded from a picture: of the
// colouring it takes only the colour rule, the distances the colouring compares
// (mirrorDistances) and the colours of a plane's samples (colourPlaneSamples).

#include <array>
#include <optional>
#include <vector>

#include "geometry/geometry.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"
#include "render/pixel_colour.h"

namespace vantu {

// How far apart D1, D2 and D3 may be at a reported snub point.
inline constexpr double snubTolerance = 1e-12;

// A point of the sphere where the six hues meet: D1 = D2 = D3.
struct SnubPoint {
    Vec3 point;                  // a unit vector
    std::array<double, 3> dots;  // P . N1, P . N2, P . N3
    std::array<int, 3> signs;    // of the dots: +1, -1, or 0 within snubTolerance of zero
    int sideCount = 0;           // 1 to 3, counted as the colouring counts it (none gives 2)
    double distance = 0.0;       // the common D, the mean of D1, D2, D3
    double spread = 0.0;         // the largest difference between D1, D2, D3
};

// Every point of the sphere where D1 = D2 = D3 for the normals `n`. The distances are the same at
// P and -P, so each antipodal pair is listed once, by the member with the larger side count
// (then the larger sum of the dots, then z, y, x positive). Seeds come from a picture of a
// little more than the hemisphere z >= 0 (which holds a member of every pair): each group of
// pixels whose hues are not all neighbours in the hue circle. Newton's method on the sphere
// refines each seed until the spread is at most snubTolerance (see refineSnubPoint for the
// multiple points); seeds that do not get there are dropped, and points within 1e-4 of each
// other are one. Sorted with the points inside the triangle first: by the number of positive
// dots, then the side count, then x, y and z. `pi` is the drawing's, for the seeding picture.
[[nodiscard]] std::vector<SnubPoint> findSnubPoints(const Mirrors& n, double pi);

// The same in a plane, `geometry` Euclidean or hyperbolic, for the mirrors `n` in its own terms:
// every point of the triangle they bound (its sides included) where D1 = D2 = D3 with the
// plane's D, each refined by Newton's method until the spread is at most snubTolerance times the
// common D. A point is on the sheet <P, P> = -1, z > 0, or at z = 1; its dots are <Ni, P> or the
// signed distances from the mirrors. A plane has no antipodes. Sorted by x, then y and z.
[[nodiscard]] std::vector<SnubPoint> findPlaneSnubPoints(const Mirrors& n, Geometry geometry);

// The point of `geometry`'s plane whose products with the normals `n` (<Ni, P> or the signed
// distances) are `dots`: where a snub point found before a view is after it, since the view keeps
// them.
[[nodiscard]] Vec3 pointOfMeasures(const Mirrors& n, const std::array<double, 3>& dots,
                                   Geometry geometry) noexcept;

namespace detail {

// The place of a colour's hue in the circle red, yellow, green, cyan, blue, magenta (0 to 5),
// read from which channels passed their test; 6 for grey and white (D1 = D2 = D3).
[[nodiscard]] int hueOf(PackedColour colour) noexcept;

// Refines `seed` by Newton's method towards a point where D1 = D2 = D3. Returns the unit vector
// reached, or nothing when the iteration breaks down. When it ends within 1e-4 of a point where
// the curve of one difference D_i - D_j crosses itself (two angles equal or supplementary) and
// the spread there is at most snubTolerance, returns that crossing instead: a multiple root,
// which the iteration reaches only to about 1e-5, and which is exact to rounding.
[[nodiscard]] std::optional<Vec3> refineSnubPoint(const Vec3& seed, const Mirrors& n) noexcept;

}  // namespace detail
}  // namespace vantu
