// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <vector>

#include "geometry/projection.h"
#include "geometry/raster.h"
#include "render/overlay.h"
#include "render/snub_points.h"
#include "setup/draw_request.h"

namespace vantu::cli {

// The listing of --snub: a heading naming the request, then one line per point with x, y, z (as
// coordinateText writes them, in columns as wide as the widest needs and at least 22), the side
// count, the signs of the three dots, the common D to 15 significant digits and the window pixel
// that shows the point, "not shown" when none does (naming the pixel of its antipode when that
// one is shown).
[[nodiscard]] std::string snubReport(const DrawRequest& request,
                                     const std::vector<SnubPoint>& points);

// The rings of --mark-snub: a ring, black inside a white border, around every point of a list
// and every antipode that the picture shows, as an overlay painted over the picture row by row.
class SnubMarks : public Overlay {
public:
    // The rings of `points` over the picture of `size` window pixels at scale R in `projection`
    // with `ratio` output pixels per window pixel, as addSnubRings draws them.
    SnubMarks(const std::vector<SnubPoint>& points, double R, Projection projection, double ratio,
              PictureSize size = {});

    // Paints the rings over output row `row`, whose output pixels `colours` holds:
    // Overlay::paintRow.
    void mark(int row, std::span<PackedColour> colours) const { paintRow(row, colours); }
};

namespace detail {

// A coordinate to 15 significant digits in fixed notation, never with an exponent, trailing zeros
// dropped; below 5e-15 in size (rounding noise around zero) it is 0.
[[nodiscard]] std::string coordinateText(double value);

}  // namespace detail
}  // namespace vantu::cli
