// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The colours of samples anywhere in a projection's plane, for searches that read the sphere from
// a picture of it (the snub search's seeds): the scan's colours without a raster.

#include <span>

#include "geometry/projection.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"

namespace vantu {

// Colours the points that `projection` puts at plane coordinates (xs[i], y) into out[i], for
// every i below xs.size() (out holds at least as many), exactly as a picture colours its samples:
// the fast kernels first, then the exact computation with the drawing's `pi`; grey off the
// sphere. Unchecked: a fault throws nothing, its sample takes whatever colour its values give.
void colourPlaneSamples(Projection projection, const Mirrors& normals, double pi, double y,
                        std::span<const double> xs, std::span<PackedColour> out);

}  // namespace vantu
