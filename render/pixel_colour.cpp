// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/pixel_colour.h"

#include <cstddef>

#include "render/colour_rule.h"

namespace vantu {

PackedColour pixelColour(const Vec3& p, const Mirrors& n) noexcept {
    return detail::colourOf(p, n);
}

std::array<double, 3> mirrorDistances(const Vec3& p, const Mirrors& n) noexcept {
    const detail::MirrorMeasures m = detail::measureMirrors(p, n);
    return {m.d1, m.d2, m.d3};
}

std::array<PackedColour, colourCount> pictureColours() noexcept {
    std::array<PackedColour, colourCount> colours{};
    std::size_t i = 0;
    for (int k = 1; k <= 3; ++k) {
        // Bit 2, 1, 0: the red, green, blue comparison holds. They never all hold; none holding
        // is white.
        for (const unsigned holds : {1U, 2U, 3U, 4U, 5U, 6U, 0U}) {
            colours[i++] = colour_rule::colourOf((holds & 4U) != 0U, (holds & 2U) != 0U,
                                                 (holds & 1U) != 0U, k);
        }
    }
    return colours;
}

}  // namespace vantu
