// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/plane_samples.h"

#include "render/scan.h"

namespace vantu {

void colourPlaneSamples(Projection projection, const Mirrors& normals, double pi, double y,
                        std::span<const double> xs, std::span<PackedColour> out) {
    detail::ScanInput input;
    input.pi = pi;
    input.normals = normals;
    detail::withMapping(projection, [&]<class Mapping>() {
        (void)detail::colourSamples<Mapping>(input, y, y * y, xs.data(),
                                             static_cast<int>(xs.size()), out.data());
    });
}

}  // namespace vantu
