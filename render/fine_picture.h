// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "geometry/projection.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"
#include "render/kernel_variant.h"

namespace vantu {
namespace detail {
struct ScanInput;
}

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
// possible only at a fractional ratio. Such a picture faults at its first row, in that column.
[[nodiscard]] bool sampleOnVerticalAxis(PictureSize size, Sampling sampling) noexcept;

// The picture of one drawing, `size` window pixels at a sampling: devicePixels(size.width,
// ratio) by devicePixels(size.height, ratio) output pixels of the view, projection, scale R (in
// window pixels), normals and colour rule. Output pixel (i, j) is centred on window coordinate
// ((i + 0.5) / ratio - 0.5, (j + 0.5) / ratio - 0.5) and averages antialias x antialias samples
// spread evenly over it, each at the centre of its own sub-square. Ratio 1 with antialias 1 at
// 640 x 481 is the window's picture bit for bit; a whole ratio K is the same view K times finer,
// its K x K output pixels subdividing each window pixel. Rows are independent of each other:
// any number of threads may render different rows of one FinePicture at once.
class FinePicture {
public:
    // Throws std::invalid_argument when the sampling or the size is out of range, or when
    // VANTU_KERNELS cannot be followed (defaultKernelVariant).
    FinePicture(double R, double pi, Projection projection, const Mirrors& normals,
                Sampling sampling = {}, PictureSize size = {});
    FinePicture(FinePicture&&) noexcept;
    FinePicture& operator=(FinePicture&&) noexcept;
    ~FinePicture();

    [[nodiscard]] int width() const noexcept { return m_width; }
    [[nodiscard]] int height() const noexcept { return m_height; }
    [[nodiscard]] Projection projection() const noexcept { return m_projection; }
    [[nodiscard]] Sampling sampling() const noexcept { return m_sampling; }
    [[nodiscard]] PictureSize size() const noexcept { return m_size; }
    // Samples averaged per output pixel along each axis: 1 gives only the colouring's colours.
    [[nodiscard]] int antialias() const noexcept { return m_sampling.antialias; }

    // Colours output row `row` (0 to height() - 1) into out[0] to out[width() - 1]; each colour
    // is one of the colouring's 21 or grey when antialias is 1, and the channel-wise rounded mean
    // of the samples otherwise. Allocates nothing. Throws DrawError at the first invalid
    // operation, division by zero or overflow, exactly as renderPicture does, naming the window
    // row and column that hold the faulting output pixel; the pixels before the faulting one are
    // then set and the rest are not. Throws std::out_of_range for a row outside the picture or
    // an `out` that is too short. Returns how many samples of the row the exact computation
    // decided (the rest the fast kernels proved).
    int renderRow(int row, std::span<PackedColour> out) const;

    // Renders with the given variant of the fast kernels instead of the best this processor
    // runs; for comparing the variants. Every variant gives the same picture. Throws
    // std::invalid_argument when this processor does not run it.
    void useKernels(KernelVariant variant);
    // The variant of the fast kernels this picture renders with.
    [[nodiscard]] KernelVariant kernelVariant() const noexcept;

private:
    std::unique_ptr<detail::ScanInput> m_input;  // the scan's view of the picture, made once
    Projection m_projection;
    Sampling m_sampling;
    PictureSize m_size;
    int m_width;
    int m_height;
    std::vector<double> m_abscissas;  // X of every sample column, computed once
    bool m_abscissasFinite = true;    // false: a fault lies among them
};

}  // namespace vantu
