// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "drawing/picture_point.h"

#include <cmath>

#include "geometry/draw_error.h"
#include "geometry/projection.h"
#include "render/colour_legend.h"
#include "render/pixel_colour.h"
#include "render/scan.h"

namespace vantu {

PictureSize offAxisSize(PictureSize size, Sampling sampling) noexcept {
    while (size.width > 1 && sampleOnVerticalAxis(size, sampling)) {
        --size.width;
    }
    return size;
}

std::optional<PicturePoint> pointAt(const PictureDescription& description, int column, int row) {
    const Sampling sampling = description.sampling;
    const PictureSize size = description.size;
    if (!isSupported(sampling) || !isSupported(size) || column < 0 || row < 0 ||
        column >= devicePixels(size.width, sampling.ratio) ||
        row >= devicePixels(size.height, sampling.ratio)) {
        return std::nullopt;
    }
    DrawSetup setup;
    try {
        setup = prepareView(description);
    } catch (const DrawError&) {
        return std::nullopt;
    }
    const double R = description.request.scale;
    const detail::Plane plane{R, columnCentreOf(size.width), rowCentreOf(size.height)};
    detail::Unchecked check;
    Vec3 p;
    const bool shown = detail::withMapping(description.request.projection, [&]<class Mapping>() {
        const double y =
            Mapping::ordinate(detail::sampleCoordinate(row, sampling.ratio), plane, check);
        const double x =
            Mapping::abscissa(detail::sampleCoordinate(column, sampling.ratio), plane, check);
        return std::isfinite(x) && std::isfinite(y) &&
               Mapping::toSphere(x, y, y * y, setup.pi, check, p);
    });
    if (!shown || !std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
        return std::nullopt;
    }
    const auto [a1, a2, a3, d1, d2, d3] = detail::measureMirrors(p, setup.normals);
    const PackedColour colour = pixelColour(p, setup.normals);
    return PicturePoint{turnedBack(p, description.view, setup.pi), colour,
                        pointCellWords(a1, a2, a3), pointHueWords(colour)};
}

}  // namespace vantu
