// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The picture raster and its colours: what every drawing paints, whoever shows it.

#include <cstdint>

namespace vantu {

// The window's picture: columns 0 to 639, rows 0 to 480.
inline constexpr int pictureWidth = 640;
inline constexpr int pictureHeight = 481;

// A picture's size in window pixels: columns 0 to width - 1, rows 0 to height - 1.
struct PictureSize {
    int width = pictureWidth;
    int height = pictureHeight;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// The largest width or height of a picture, in window pixels.
inline constexpr int maxPictureSide = 16384;

// Whether a picture can have `size`: 1 to maxPictureSide on each side.
[[nodiscard]] constexpr bool isSupported(PictureSize size) noexcept {
    return size.width >= 1 && size.width <= maxPictureSide && size.height >= 1 &&
           size.height <= maxPictureSide;
}

// Where the plane's origin lies in window coordinates: between columns floor(W/2) - 1 and
// floor(W/2), and between rows floor(H/2) and floor(H/2) + 1, so that no pixel lies on an axis.
// For the window's 640 x 481 that is column 319.5 and row 240.5 (241 rows above it, 240 below).
[[nodiscard]] constexpr double columnCentreOf(int width) noexcept {
    return (width / 2) - 0.5;
}
[[nodiscard]] constexpr double rowCentreOf(int height) noexcept {
    return (height / 2) + 0.5;
}
inline constexpr double columnCentre = columnCentreOf(pictureWidth);
inline constexpr double rowCentre = rowCentreOf(pictureHeight);
static_assert(columnCentre == 319.5 && rowCentre == 240.5);

// A colour packed as red + 256 * green + 65536 * blue, each channel 0 to 255.
using PackedColour = std::int32_t;

// The one packing of three channels: red + 256 * green + 65536 * blue. With int channels it is
// a PackedColour; the fast kernels pack doubles the same way (exact: the sum is below 2^24).
template <class Channel>
[[nodiscard]] constexpr Channel packColour(Channel red, Channel green, Channel blue) noexcept {
    return red + Channel(256) * green + Channel(65536) * blue;
}

// The colour every row starts with, and of orthographic pixels off the sphere.
inline constexpr PackedColour grey = packColour(128, 128, 128);

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
