// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/generating_point.h"

#include <cmath>
#include <limits>

#include "geometry/view.h"
#include "snub/snub_points.h"

namespace vantu::explorer {

std::vector<WythoffPoint> wythoffPoints(const WythoffTriangle& triangle) {
    std::vector<GeneratingPoint> points;
    for (int i = 0; i < 3; ++i) {
        points.push_back(GeneratingPoint::vertex(i));
    }
    for (int i = 0; i < 3; ++i) {
        points.push_back(GeneratingPoint::side(i));
    }
    points.push_back(GeneratingPoint::incentre());
    const std::size_t snubs = findSnubPoints(triangle.setup.normals, triangle.setup.pi).size();
    for (std::size_t i = 0; i < snubs; ++i) {
        points.push_back(GeneratingPoint::snub(static_cast<int>(i)));
    }
    std::vector<WythoffPoint> own;
    own.reserve(points.size());
    for (const GeneratingPoint& point : points) {
        own.push_back({point, pointOf(triangle, point)});
    }
    return own;
}

std::optional<PicturePosition> framePositionOf(const PreparedPicture& picture, const Vec3& p) {
    const PictureDescription& description = picture.description();
    const Vec3 seen = turned(Mirrors{p, p, p}, description.view, picture.setup().pi)[0];
    const std::optional<PicturePosition> at = planePosition(
        seen, description.request.scale, description.request.projection, description.size);
    if (!at) {
        return std::nullopt;
    }
    return PicturePosition{picture.grid().outputCoordinate(at->col),
                           picture.grid().outputCoordinate(at->row)};
}

std::optional<GeneratingPoint> pointAtPixel(const PreparedPicture& picture,
                                            const std::vector<WythoffPoint>& own, int column,
                                            int row) {
    const std::optional<PicturePoint> shown = picture.pointAt(column, row);
    if (!shown) {
        return std::nullopt;
    }
    const double reach = snapWindowPixels * picture.grid().ratio();
    double nearest = std::numeric_limits<double>::infinity();
    std::optional<GeneratingPoint> chosen;
    for (const WythoffPoint& candidate : own) {
        // Only the side of the sphere the picture shows: the orthographic picture puts a point
        // and its far twin on the same pixel.
        if (dot(candidate.direction, shown->point) <= 0.0) {
            continue;
        }
        if (const std::optional<PicturePosition> at =
                framePositionOf(picture, candidate.direction)) {
            const double distance = std::hypot(at->col - column, at->row - row);
            if (distance <= reach && distance < nearest) {
                nearest = distance;
                chosen = candidate.point;
            }
        }
    }
    return chosen ? chosen : GeneratingPoint::given(shown->point);
}

}  // namespace vantu::explorer
