#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "geometry/projection.h"
#include "render/snub_points.h"
#include "setup/draw_request.h"

namespace vantu::cli {

// The listing of --snub: a heading naming the request, then one line per point with x, y, z to
// 15 significant digits, the side count, the signs of the three dots, the common D to 15
// significant digits and the window pixel that shows the point, "not shown" when none does
// (naming the pixel of its antipode when that one is shown).
[[nodiscard]] std::string snubReport(const DrawRequest& request,
                                     const std::vector<SnubPoint>& points);

// Draws a ring, black inside a white border, around every point of `points` and every antipode
// that the picture shows, into `image`, the picture at scale R in `projection` with `zoom`
// output pixels per window pixel. Pixels away from the rings are left as they are.
void markSnubPoints(QImage& image, const std::vector<SnubPoint>& points, double R,
                    Projection projection, int zoom);

namespace detail {

// A coordinate to 15 significant digits, with rounding noise around zero shown as 0.
[[nodiscard]] std::string coordinateText(double value);

}  // namespace detail
}  // namespace vantu::cli
