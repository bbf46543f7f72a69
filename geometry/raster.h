// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The picture raster and its colours: what every drawing paints, whoever shows it.

#include <cstdint>

namespace vantu {

// The window's picture: columns 0 to 639, rows 0 to 480.
inline constexpr int pictureWidth = 640;
inline constexpr int pictureHeight = 481;

// Where the plane's origin lies in window coordinates: between columns 319 and 320, and between
// rows 240 and 241 (241 rows above it, 240 below).
inline constexpr double columnCentre = 319.5;
inline constexpr double rowCentre = 240.5;

// A colour packed as red + 256 * green + 65536 * blue, each channel 0 to 255.
using PackedColour = std::int32_t;

// The colour every row starts with, and of orthographic pixels off the sphere.
inline constexpr PackedColour grey = 128 + 256 * 128 + 65536 * 128;

[[nodiscard]] constexpr int redOf(PackedColour c) noexcept {
    return c & 0xFF;
}
[[nodiscard]] constexpr int greenOf(PackedColour c) noexcept {
    return (c >> 8) & 0xFF;
}
[[nodiscard]] constexpr int blueOf(PackedColour c) noexcept {
    return (c >> 16) & 0xFF;
}

}  // namespace vantu
