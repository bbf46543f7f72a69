// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include "geometry/raster.h"

namespace vantu {

// Receives a drawing row by row. Within a row the runs come left to right without gaps; the
// first starts at column 0 (it is the empty run (row, 0, 0, grey) when column 0 is not grey)
// and the last ends at column 640. Implementations may throw to stop the drawing.
class RunSink {
public:
    virtual ~RunSink() = default;

    // Paints columns first to end - 1 of `row` in `colour`; first == end paints nothing.
    virtual void drawRun(int row, int first, int end, PackedColour colour) = 0;

    // Follows the last run of each row, rows 0 to 480 in order.
    virtual void endRow(int row) = 0;

    // Called once per drawing, after the set-up has succeeded and before the first row: the
    // picture switches to pixel units. A drawing that fails earlier never calls it.
    virtual void setPixelScale() {}
};

}  // namespace vantu
