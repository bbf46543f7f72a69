// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "geometry/geometry.h"
#include "setup/draw_request.h"
#include "snub/snub_points.h"

namespace vantu::cli {

// The listing of --snub: a heading naming the request, then one line per point with x, y, z (as
// coordinateText writes them, in columns as wide as the widest needs and at least 22), the side
// count, the signs of the three dots, the common D to 15 significant digits and the window pixel
// that shows the point, "not shown" when none does (naming the pixel of its antipode when that
// one is shown). In a plane, `geometry`, the points are the plane's own, with no antipodes, and
// the pixels those of the projection's model.
[[nodiscard]] std::string snubReport(const DrawRequest& request,
                                     const std::vector<SnubPoint>& points,
                                     Geometry geometry = Geometry::spherical);

namespace detail {

// A coordinate to 15 significant digits in fixed notation, never with an exponent, trailing zeros
// dropped; below 5e-15 in size (rounding noise around zero) it is 0.
[[nodiscard]] std::string coordinateText(double value);

}  // namespace detail
}  // namespace vantu::cli
