// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/pixel_colour.h"

#include <cstddef>

namespace vantu {

PackedColour pixelColour(const Vec3& p, const Mirrors& n) noexcept {
    return detail::colourOf(p, n);
}

std::array<PackedColour, colourCount> pictureColours() noexcept {
    std::array<PackedColour, colourCount> colours{};
    std::size_t i = 0;
    for (std::int32_t k = 1; k <= 3; ++k) {
        // Bit 2, 1, 0: the red, green, blue test failed. They never all fail; none failing is
        // white.
        for (const unsigned failed : {1U, 2U, 3U, 4U, 5U, 6U, 0U}) {
            const auto channel = [&](unsigned bit) {
                return detail::channelValue((failed & bit) != 0U ? -1 : 1, k);
            };
            colours[i++] = channel(4U) + 256 * channel(2U) + 65536 * channel(1U);
        }
    }
    return colours;
}

}  // namespace vantu
