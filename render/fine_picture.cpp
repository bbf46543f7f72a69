// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/fine_picture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>

#include "geometry/projection.h"
#include "geometry/text.h"
#include "render/kernels.h"
#include "render/scan.h"

namespace vantu {

FinePicture::FinePicture(double R, double pi, Projection projection, const Mirrors& normals,
                         Sampling sampling, PictureSize size, Geometry geometry)
    : m_input(std::make_unique<detail::ScanInput>()),
      m_projection(projection),
      m_geometry(geometry),
      m_grid(size, sampling) {
    if (const std::optional<std::string> refusal = projectionRefusal(projection, geometry)) {
        throw std::invalid_argument(*refusal);
    }
    detail::ScanInput& input = *m_input;
    input.plane = {R, columnCentreOf(size.width), rowCentreOf(size.height)};
    input.pi = pi;
    input.normals = normals;
    input.outputPerPixel = sampling.ratio;
    input.samplesPerPixel = sampling.ratio * sampling.antialias;
    input.width = m_grid.width();
    input.antialias = sampling.antialias;
    m_abscissas.resize(static_cast<std::size_t>(input.width) *
                       static_cast<std::size_t>(input.antialias));
    m_abscissasFinite = detail::withMapping(projection, geometry, [&]<class Mapping>() {
        return detail::tabulateAbscissas<Mapping>(input, m_abscissas);
    });
}

FinePicture::FinePicture(FinePicture&&) noexcept = default;
FinePicture& FinePicture::operator=(FinePicture&&) noexcept = default;
FinePicture::~FinePicture() = default;

void FinePicture::useKernels(KernelVariant variant) {
    if (!runsHere(variant)) {
        throw std::invalid_argument(std::string("this processor does not run the ") +
                                    nameOf(variant) + " kernels");
    }
    m_input->kernels = &detail::kernelsOf(variant);
}

KernelVariant FinePicture::kernelVariant() const noexcept {
    return m_input->kernels->variant;
}

std::optional<Vec3> FinePicture::pointOf(int column, int row) const noexcept {
    if (!m_grid.contains(column, row)) {
        return std::nullopt;
    }
    const detail::ScanInput& in = *m_input;
    detail::Unchecked check;
    Vec3 p;
    const bool shown = detail::withMapping(m_projection, m_geometry, [&]<class Mapping>() {
        const double y = Mapping::ordinate(m_grid.windowCoordinate(row), in.plane, check);
        const double x = Mapping::abscissa(m_grid.windowCoordinate(column), in.plane, check);
        return std::isfinite(x) && std::isfinite(y) &&
               Mapping::toSphere(x, y, y * y, in.pi, check, p);
    });
    if (!shown || !std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
        return std::nullopt;
    }
    return p;
}

int FinePicture::renderRow(int row, std::span<PackedColour> out) const {
    if (row < 0 || row >= height()) {
        throw std::out_of_range("row " + std::to_string(row) + " is outside the picture");
    }
    if (out.size() < static_cast<std::size_t>(width())) {
        throw std::out_of_range("the row needs room for " + std::to_string(width()) + " pixels");
    }
    return detail::withMapping(m_projection, m_geometry, [&]<class Mapping>() {
        return detail::scanRow<Mapping>(row, *m_input, m_abscissas.data(), m_abscissasFinite,
                                        out.data());
    });
}

}  // namespace vantu
