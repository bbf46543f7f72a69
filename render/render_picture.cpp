// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/render_picture.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/draw_error.h"
#include "geometry/projection.h"
#include "render/scan.h"

namespace vantu {
namespace detail {

void emitRuns(int row, const PackedColour* colours, int count, bool rowComplete, RunSink& sink) {
    PackedColour current = grey;
    int runStart = 0;
    for (int col = 0; col < count; ++col) {
        if (colours[col] != current) {
            sink.drawRun(row, runStart, col, current);
            current = colours[col];
            runStart = col;
        }
    }
    if (rowComplete) {
        sink.drawRun(row, runStart, count, current);
    }
}

}  // namespace detail

void renderPicture(double R, double pi, Projection projection, const Mirrors& normals,
                   RunSink& sink, PictureSize size, Geometry geometry) {
    (void)checkedSize(size);
    if (const std::optional<std::string> refusal = projectionRefusal(projection, geometry)) {
        throw std::invalid_argument(*refusal);
    }
    detail::ScanInput input;
    input.plane = {R, columnCentreOf(size.width), rowCentreOf(size.height)};
    input.pi = pi;
    input.normals = normals;
    input.width = size.width;
    detail::withMapping(projection, geometry, [&]<class Mapping>() {
        detail::scanPicture<Mapping>(input, size.height, sink);
    });
}

void renderPicture(double R, double pi, Projection projection, const Mirrors& normals,
                   Sampling sampling, DeviceRowSink& sink, PictureSize size, Geometry geometry) {
    const FinePicture picture(R, pi, projection, normals, sampling, size, geometry);
    std::vector<PackedColour> colours(static_cast<std::size_t>(picture.width()));
    const std::span<const PackedColour> row(colours);
    const double ratio = sampling.ratio;
    int deviceRow = 0;
    for (int windowRow = 0; windowRow < size.height; ++windowRow) {
        for (; deviceRow < picture.height() && windowPixelOf(deviceRow, ratio) <= windowRow;
             ++deviceRow) {
            try {
                (void)picture.renderRow(deviceRow, colours);
            } catch (const DrawError& e) {
                // The pixels left of the fault's window column were coloured before the fault.
                const int kept =
                    e.column() < 0 ? 0 : std::min(devicePixels(e.column(), ratio), picture.width());
                sink.drawDeviceRow(deviceRow, row.first(static_cast<std::size_t>(kept)));
                throw;
            }
            sink.drawDeviceRow(deviceRow, row);
        }
        sink.endRow(windowRow);
    }
}

}  // namespace vantu
