// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <vector>

#include "geometry/projection.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"
#include "render/scan.h"

namespace vantu {

// How finely a picture is sampled.
struct Sampling {
    int zoom = 1;       // output pixels per window pixel along each axis, 1 to maxZoom
    int antialias = 1;  // samples averaged per output pixel along each axis, 1 to maxAntialias
};

inline constexpr int maxZoom = 16;
using detail::maxAntialias;

// Device pixels per window pixel along each axis, as a screen's scale factor gives it: 1, 1.25,
// 2, ... From minPixelRatio to maxPixelRatio.
struct PixelRatio {
    double value = 1.0;
};

inline constexpr double minPixelRatio = 0.25;
inline constexpr double maxPixelRatio = maxZoom;

// Whether a picture can be sampled at `ratio`.
[[nodiscard]] constexpr bool isSupported(PixelRatio ratio) noexcept {
    return ratio.value >= minPixelRatio && ratio.value <= maxPixelRatio;
}

// Returns `ratio`; throws std::invalid_argument, naming the range, when it is not supported.
[[nodiscard]] PixelRatio checkedRatio(PixelRatio ratio);

// How many device pixels at `ratio` cover `windowPixels` window pixels: those whose centres
// fall inside them.
[[nodiscard]] int devicePixels(int windowPixels, PixelRatio ratio) noexcept;

// The window pixel (column or row) that holds the centre of device pixel `index` at `ratio`.
[[nodiscard]] int windowPixelOf(int index, PixelRatio ratio) noexcept;

// The picture of one drawing at a finer sampling: 640 * zoom by 481 * zoom output pixels of the
// same view, projection, scale R (in window pixels), normals and colour rule. Every output pixel
// averages antialias x antialias samples spread evenly over it; each sample sits at the centre
// of its own sub-square. Window pixel (col, row) is thus covered by the zoom x zoom output
// pixels whose samples subdivide it, and zoom 1 with antialias 1 is the window's picture bit for
// bit. Rows are independent of each other: any number of threads may render different rows of
// one FinePicture at once.
class FinePicture {
public:
    // Throws std::invalid_argument when the zoom or the antialias is out of range.
    FinePicture(double R, double pi, Projection projection, const Mirrors& normals,
                Sampling sampling);

    // The picture as a screen with device pixel ratio `ratio` shows it, one sample per device
    // pixel: device pixel (i, j) samples window coordinate ((i + 0.5) / d - 0.5, (j + 0.5) / d -
    // 0.5), the rule of the zoom, so that an integer ratio K is zoom K bit for bit. A fault
    // names the window pixel that holds the faulting sample, as the window's own picture would.
    // Throws std::invalid_argument for a ratio out of range.
    FinePicture(double R, double pi, Projection projection, const Mirrors& normals,
                PixelRatio ratio);

    [[nodiscard]] int width() const noexcept { return m_layout.width; }
    [[nodiscard]] int height() const noexcept { return m_height; }
    [[nodiscard]] Projection projection() const noexcept { return m_projection; }
    // Samples averaged per output pixel along each axis: 1 gives only the colouring's colours.
    [[nodiscard]] int antialias() const noexcept { return m_layout.antialias; }

    // Colours output row `row` (0 to height() - 1) into out[0] to out[width() - 1]; each colour
    // is one of the colouring's 21 or grey when antialias is 1, and the channel-wise rounded mean
    // of the samples otherwise. Allocates nothing. Throws DrawError at the first invalid
    // operation, division by zero or overflow, exactly as renderPicture does, naming the output
    // row and column; the pixels before the faulting one are then set and the rest are not.
    // Throws std::out_of_range for a row outside the picture or an `out` that is too short.
    // Returns how many samples of the row the exact computation decided (the rest the fast
    // kernels proved).
    int renderRow(int row, std::span<PackedColour> out) const;

    // Renders with the given variant of the fast kernels instead of the best this processor
    // runs, which must run here; for comparing the variants. Every variant gives the same
    // picture.
    void useKernels(const detail::Kernels& kernels) noexcept;

private:
    FinePicture(double R, double pi, Projection projection, const Mirrors& normals,
                detail::SampleLayout layout, int height);

    detail::ScanInput m_input;
    Projection m_projection;
    detail::SampleLayout m_layout;
    int m_height;
    std::vector<double> m_abscissas;  // X of every sample column, computed once
    bool m_abscissasFinite = true;    // false: a fault lies among them
};

}  // namespace vantu
