#pragma once

#include <cstdint>

namespace vantu {

// A colour packed as red + 256 * green + 65536 * blue, each channel 0 to 255.
using PackedColour = std::int32_t;

// The colour every row starts with, and of orthographic pixels off the sphere.
inline constexpr PackedColour grey = 128 + 256 * 128 + 65536 * 128;

// The picture raster: columns 0 to 639, rows 0 to 480.
inline constexpr int pictureWidth = 640;
inline constexpr int pictureHeight = 481;

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
