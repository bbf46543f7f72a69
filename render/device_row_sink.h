// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <span>

#include "geometry/raster.h"

namespace vantu {

// Receives a drawing sampled at a device pixel ratio (render/fine_picture.h) in whole device
// rows, window row by window row: the device rows whose centres lie in window row 0, top to
// bottom, then endRow(0), and so on down to window row 480. Implementations may throw to stop
// the drawing.
class DeviceRowSink {
public:
    virtual ~DeviceRowSink() = default;

    // Colours device pixels 0 to colours.size() - 1 of device row `row`. Every row holds all the
    // device columns of the raster, except the one that a fault cut short.
    virtual void drawDeviceRow(int row, std::span<const PackedColour> colours) = 0;

    // Follows the device rows of window row `windowRow`, for window rows 0 to 480 in order. Below
    // a ratio of 1 a window row may hold no device row; it gets its endRow all the same.
    virtual void endRow(int windowRow) = 0;

    // Called once per drawing, after the set-up has succeeded and before the first row. A
    // drawing that fails earlier never calls it.
    virtual void setPixelScale() {}
};

}  // namespace vantu
