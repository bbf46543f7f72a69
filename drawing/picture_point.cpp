// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "drawing/picture_point.h"

#include <cmath>

#include "drawing/prepared_picture.h"
#include "geometry/draw_error.h"
#include "render/colour_legend.h"
#include "render/pixel_colour.h"
#include "render/scan.h"

namespace vantu {

namespace {

// The point of the plane the homogeneous point `p` stands for: on the sheet <P, P> = -1 in the
// hyperbolic plane, with z = 1 in the Euclidean one.
Vec3 pointItself(const Vec3& p, Geometry geometry) noexcept {
    const double k = geometry == Geometry::hyperbolic
                         ? 1.0 / std::sqrt(p.z * p.z - (p.y * p.y + p.x * p.x))
                         : 1.0 / p.z;
    return {k * p.x, k * p.y, k * p.z};
}

template <Geometry geometry>
PicturePoint planePointOf(const Vec3& p, const DrawSetup& setup, const View& view) {
    detail::Unchecked check;
    const auto [a1, a2, a3, d1, d2, d3] =
        detail::measureMirrorsIn<geometry>(p, setup.normals, check);
    const PackedColour colour = detail::colourIn<geometry>(p, setup.normals, check);
    return PicturePoint{pointItself(movedBack(p, view, setup.pi, geometry), geometry), colour,
                        pointCellWords(a1, a2, a3, geometry), pointHueWords(colour)};
}

}  // namespace

PicturePoint picturePointOf(const Vec3& p, const DrawSetup& setup, const View& view) {
    switch (setup.geometry) {
        case Geometry::hyperbolic:
            return planePointOf<Geometry::hyperbolic>(p, setup, view);
        case Geometry::euclidean:
            return planePointOf<Geometry::euclidean>(p, setup, view);
        case Geometry::spherical:
            break;
    }
    const auto [a1, a2, a3, d1, d2, d3] = detail::measureMirrors(p, setup.normals);
    const PackedColour colour = pixelColour(p, setup.normals);
    return PicturePoint{turnedBack(p, view, setup.pi), colour, pointCellWords(a1, a2, a3),
                        pointHueWords(colour)};
}

std::optional<PicturePoint> pointAt(const PictureDescription& description, int column, int row) {
    if (!isSupported(description.sampling) || !isSupported(description.size) ||
        !SampleGrid(description.size, description.sampling).contains(column, row)) {
        return std::nullopt;
    }
    try {
        return PreparedPicture(description).pointAt(column, row);
    } catch (const DrawError&) {
        return std::nullopt;
    }
}

}  // namespace vantu
