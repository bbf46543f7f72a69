// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// How a picture's output pixels sample the window's plane: its size, its sampling, the way from
// an output pixel to window coordinates and back, and where a sample would fall on the vertical
// axis. The scan, the overlays and the point under the cursor all take it from here.

#include "geometry/projection.h"
#include "geometry/raster.h"

namespace vantu {

// How finely a picture is sampled: `ratio` output pixels per window pixel along each axis, a
// whole zoom (1 to maxZoom) or a screen's device pixel ratio (1.25, 1.5, ...; from minRatio to
// maxRatio), and antialias x antialias samples averaged in each output pixel.
struct Sampling {
    double ratio = 1.0;
    int antialias = 1;
    friend bool operator==(const Sampling&, const Sampling&) = default;
};

inline constexpr int maxZoom = 16;
inline constexpr double minRatio = 0.25;
inline constexpr double maxRatio = maxZoom;
inline constexpr int maxAntialias = 8;

// Whether a picture can be sampled as `sampling` says.
[[nodiscard]] constexpr bool isSupported(Sampling sampling) noexcept {
    return sampling.ratio >= minRatio && sampling.ratio <= maxRatio && sampling.antialias >= 1 &&
           sampling.antialias <= maxAntialias;
}

// Returns `sampling`; throws std::invalid_argument, naming the range, when it is not supported.
[[nodiscard]] Sampling checkedSampling(Sampling sampling);

// Returns `size`; throws std::invalid_argument, naming the range, when it is not supported.
[[nodiscard]] PictureSize checkedSize(PictureSize size);

// How many output pixels at `ratio` cover `windowPixels` window pixels: those whose centres
// fall inside them. A whole ratio K gives K * windowPixels.
[[nodiscard]] int devicePixels(int windowPixels, double ratio) noexcept;

// The window pixel (column or row) that holds the centre of output pixel `index` at `ratio`.
[[nodiscard]] int windowPixelOf(int index, double ratio) noexcept;

// Whether a sample of a picture of `size` at `sampling` lies exactly on the vertical axis through
// its centre (column floor(W/2) - 0.5), where X is 0 and the azimuth atan(Y / X) divides by zero:
// possible only at a fractional ratio. Such a picture faults at its first row, in that column,
// unless its projection is definedOnVerticalAxis.
[[nodiscard]] bool sampleOnVerticalAxis(PictureSize size, Sampling sampling) noexcept;

// The largest size, no narrower than `size` (window pixels) by more than a column or two, on
// which the picture of `projection` at `sampling` does not stop on the vertical axis: for a
// projection that is not definedOnVerticalAxis, the widest whose samples all lie off the axis
// (sampleOnVerticalAxis); `size` itself for one that is, and at a whole ratio. Both programs
// size their pictures by this one rule.
[[nodiscard]] PictureSize offAxisSize(PictureSize size, Sampling sampling,
                                      Projection projection) noexcept;

// The output pixels of a picture of `size` window pixels at `sampling`: devicePixels(size.width,
// ratio) by devicePixels(size.height, ratio). Output pixel (i, j) is centred on window coordinate
// (windowCoordinate(i), windowCoordinate(j)), and its samples spread evenly over it.
class SampleGrid {
public:
    // Throws std::invalid_argument for a size or a sampling out of range (checkedSampling, then
    // checkedSize).
    SampleGrid(PictureSize size, Sampling sampling);

    [[nodiscard]] PictureSize size() const noexcept { return m_size; }
    [[nodiscard]] Sampling sampling() const noexcept { return m_sampling; }
    [[nodiscard]] double ratio() const noexcept { return m_sampling.ratio; }
    // Output pixels along each axis.
    [[nodiscard]] int width() const noexcept { return m_width; }
    [[nodiscard]] int height() const noexcept { return m_height; }

    // Whether output pixel (column, row) lies in the picture.
    [[nodiscard]] bool contains(int column, int row) const noexcept {
        return column >= 0 && row >= 0 && column < m_width && row < m_height;
    }

    // The window coordinate of the centre of output pixel `index` along either axis, as the scan
    // places it: (index + 0.5) / ratio - 0.5.
    [[nodiscard]] double windowCoordinate(int index) const noexcept;
    // The way back: the output coordinate of window coordinate `window`, (window + 0.5) * ratio -
    // 0.5.
    [[nodiscard]] double outputCoordinate(double window) const noexcept {
        return (window + 0.5) * m_sampling.ratio - 0.5;
    }

    // Whether `projection`'s picture on this grid stops at a sample on the vertical axis:
    // sampleOnVerticalAxis, for a projection not definedOnVerticalAxis.
    [[nodiscard]] bool stopsOnVerticalAxis(Projection projection) const noexcept;

private:
    Sampling m_sampling;
    PictureSize m_size;
    int m_width;
    int m_height;
};

}  // namespace vantu
