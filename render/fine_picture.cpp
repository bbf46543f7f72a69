// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/fine_picture.h"

#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>

#include "geometry/text.h"
#include "render/projections.h"
#include "render/scan.h"

namespace vantu {

namespace {

detail::SampleLayout checkedLayout(Sampling sampling) {
    if (sampling.zoom < 1 || sampling.zoom > maxZoom) {
        throw std::invalid_argument("the zoom must be 1 to " + std::to_string(maxZoom) + ", not " +
                                    std::to_string(sampling.zoom));
    }
    if (sampling.antialias < 1 || sampling.antialias > maxAntialias) {
        throw std::invalid_argument("the antialias must be 1 to " + std::to_string(maxAntialias) +
                                    ", not " + std::to_string(sampling.antialias));
    }
    return {static_cast<double>(sampling.zoom * sampling.antialias), pictureWidth * sampling.zoom,
            sampling.antialias};
}

}  // namespace

PixelRatio checkedRatio(PixelRatio ratio) {
    if (!isSupported(ratio)) {
        throw std::invalid_argument(
            "the device pixel ratio must be " + formatNumber(minPixelRatio) + " to " +
            formatNumber(maxPixelRatio) + ", not " + formatNumber(ratio.value));
    }
    return ratio;
}

int devicePixels(int windowPixels, PixelRatio ratio) noexcept {
    return static_cast<int>(std::ceil(windowPixels * ratio.value - 0.5));
}

int windowPixelOf(int index, PixelRatio ratio) noexcept {
    return detail::windowPixelOf(index, ratio.value);
}

FinePicture::FinePicture(double R, double pi, Projection projection, const Mirrors& normals,
                         Sampling sampling)
    : FinePicture(R, pi, projection, normals, checkedLayout(sampling),
                  pictureHeight * sampling.zoom) {}

FinePicture::FinePicture(double R, double pi, Projection projection, const Mirrors& normals,
                         PixelRatio ratio)
    : FinePicture(R, pi, projection, normals,
                  {checkedRatio(ratio).value, devicePixels(pictureWidth, ratio), 1, true},
                  devicePixels(pictureHeight, ratio)) {}

void FinePicture::useKernels(const detail::Kernels& kernels) noexcept {
    m_input.kernels = &kernels;
}

FinePicture::FinePicture(double R, double pi, Projection projection, const Mirrors& normals,
                         detail::SampleLayout layout, int height)
    : m_input{R, pi, normals}, m_projection(projection), m_layout(layout), m_height(height) {
    m_abscissas.resize(static_cast<std::size_t>(m_layout.width * m_layout.antialias));
    // The stereographic and the orthographic projection share their plane.
    m_abscissasFinite =
        projection == Projection::gnomonic
            ? detail::tabulateAbscissas<detail::Gnomonic>(R, m_layout.samplesPerPixel, m_abscissas)
            : detail::tabulateAbscissas<detail::Stereographic>(R, m_layout.samplesPerPixel,
                                                               m_abscissas);
}

int FinePicture::renderRow(int row, std::span<PackedColour> out) const {
    if (row < 0 || row >= height()) {
        throw std::out_of_range("row " + std::to_string(row) + " is outside the picture");
    }
    if (out.size() < static_cast<std::size_t>(width())) {
        throw std::out_of_range("the row needs room for " + std::to_string(width()) + " pixels");
    }
    const double* xs = m_abscissas.data();
    switch (m_projection) {
        case Projection::gnomonic:
            return detail::scanRow<detail::Gnomonic>(row, m_input, m_layout, xs, m_abscissasFinite,
                                                     out.data());
        case Projection::stereographic:
            return detail::scanRow<detail::Stereographic>(row, m_input, m_layout, xs,
                                                          m_abscissasFinite, out.data());
        case Projection::orthographic:
            break;
    }
    return detail::scanRow<detail::Orthographic>(row, m_input, m_layout, xs, m_abscissasFinite,
                                                 out.data());
}

}  // namespace vantu
