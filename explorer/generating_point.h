// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The generating point on the sphere's picture: where the picture shows a point, the triangle's
// own points a click snaps to, and the point a click chooses.

#include <optional>
#include <vector>

#include "drawing/prepared_picture.h"
#include "polyhedron/wythoff.h"

namespace vantu::explorer {

// A click this many output pixels (per device pixel ratio) from one of the triangle's own points
// takes that point.
inline constexpr double snapWindowPixels = 6.0;

// One of the triangle's own points: its vertices A, B, C, the points F of its three sides, its
// incentre and its snub points (as findSnubPoints lists them), in the sphere's own frame.
struct WythoffPoint {
    GeneratingPoint point;
    Vec3 direction;
};

// Those points of `triangle`, in that order.
[[nodiscard]] std::vector<WythoffPoint> wythoffPoints(const WythoffTriangle& triangle);

// Where `picture` shows `p` (a unit vector in the sphere's own frame), in output pixels: pixel
// (c, r) covers [c - 0.5, c + 0.5) x [r - 0.5, r + 0.5). Nothing where the projection shows no
// such point.
[[nodiscard]] std::optional<PicturePosition> framePositionOf(const PreparedPicture& picture,
                                                             const Vec3& p);

// The generating point a click at output pixel (column, row) of `picture` chooses: the nearest of
// `own` within snapWindowPixels window pixels of it, or else the point the pixel shows; nothing
// where the pixel shows no point.
[[nodiscard]] std::optional<GeneratingPoint> pointAtPixel(const PreparedPicture& picture,
                                                          const std::vector<WythoffPoint>& own,
                                                          int column, int row);

}  // namespace vantu::explorer
