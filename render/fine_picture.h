// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "geometry/geometry.h"
#include "geometry/projection.h"
#include "geometry/raster.h"
#include "geometry/vec3.h"
#include "render/kernel_variant.h"
#include "render/sample_grid.h"

namespace vantu {
namespace detail {
struct ScanInput;
}

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
    // Throws std::invalid_argument when the sampling or the size is out of range, when the
    // projection cannot show the geometry (projectionRefusal's words), or when VANTU_KERNELS
    // cannot be followed (defaultKernelVariant). In the planes the normals are the geometry's
    // own (geometry/geometry.h) and every sample takes the exact computation.
    FinePicture(double R, double pi, Projection projection, const Mirrors& normals,
                Sampling sampling = {}, PictureSize size = {},
                Geometry geometry = Geometry::spherical);
    FinePicture(FinePicture&&) noexcept;
    FinePicture& operator=(FinePicture&&) noexcept;
    ~FinePicture();

    [[nodiscard]] const SampleGrid& grid() const noexcept { return m_grid; }
    [[nodiscard]] int width() const noexcept { return m_grid.width(); }
    [[nodiscard]] int height() const noexcept { return m_grid.height(); }
    [[nodiscard]] Projection projection() const noexcept { return m_projection; }
    [[nodiscard]] Geometry geometry() const noexcept { return m_geometry; }
    [[nodiscard]] Sampling sampling() const noexcept { return m_grid.sampling(); }
    [[nodiscard]] PictureSize size() const noexcept { return m_grid.size(); }
    // Samples averaged per output pixel along each axis: 1 gives only the colouring's colours.
    [[nodiscard]] int antialias() const noexcept { return m_grid.sampling().antialias; }

    // The point of the sphere at the centre of output pixel (column, row), mapped as the scan maps
    // a sample (without checks), so that pixelColour there is the pixel's colour at antialias 1;
    // in the planes the model's homogeneous point.
    // Nothing outside the picture, where the projection shows no point (the orthographic picture
    // off its disc), or where a value is not finite (a scale of 0).
    [[nodiscard]] std::optional<Vec3> pointOf(int column, int row) const noexcept;

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
    Geometry m_geometry;
    SampleGrid m_grid;
    std::vector<double> m_abscissas;  // X of every sample column, computed once
    bool m_abscissasFinite = true;    // false: a fault lies among them
};

}  // namespace vantu
