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

PictureSize checkedSize(PictureSize size) {
    if (!isSupported(size)) {
        throw std::invalid_argument("the picture must be 1 to " + std::to_string(maxPictureSide) +
                                    " pixels wide and high, not " + std::to_string(size.width) +
                                    " x " + std::to_string(size.height));
    }
    return size;
}

Sampling checkedSampling(Sampling sampling) {
    if (!(sampling.ratio >= minRatio && sampling.ratio <= maxRatio)) {
        throw std::invalid_argument("the pixel ratio must be " + formatNumber(minRatio) + " to " +
                                    formatNumber(maxRatio) + ", not " +
                                    formatNumber(sampling.ratio));
    }
    if (sampling.antialias < 1 || sampling.antialias > maxAntialias) {
        throw std::invalid_argument("the antialias must be 1 to " + std::to_string(maxAntialias) +
                                    ", not " + std::to_string(sampling.antialias));
    }
    return sampling;
}

int devicePixels(int windowPixels, double ratio) noexcept {
    return static_cast<int>(std::ceil(windowPixels * ratio - 0.5));
}

int windowPixelOf(int index, double ratio) noexcept {
    return detail::windowPixelOf(index, ratio);
}

bool sampleOnVerticalAxis(PictureSize size, Sampling sampling) noexcept {
    const double perPixel = sampling.ratio * sampling.antialias;
    const int samples = devicePixels(size.width, sampling.ratio) * sampling.antialias;
    const double centre = columnCentreOf(size.width);
    const auto nearest = static_cast<int>(std::floor((centre + 0.5) * perPixel - 0.5));
    for (int s = std::max(0, nearest - 2); s <= nearest + 2 && s < samples; ++s) {
        if (detail::sampleCoordinate(s, perPixel) == centre) {
            return true;
        }
    }
    return false;
}

FinePicture::FinePicture(double R, double pi, Projection projection, const Mirrors& normals,
                         Sampling sampling, PictureSize size)
    : m_input(std::make_unique<detail::ScanInput>()),
      m_projection(projection),
      m_sampling(checkedSampling(sampling)),
      m_size(checkedSize(size)),
      m_width(devicePixels(size.width, sampling.ratio)),
      m_height(devicePixels(size.height, sampling.ratio)) {
    detail::ScanInput& input = *m_input;
    input.plane = {R, columnCentreOf(size.width), rowCentreOf(size.height)};
    input.pi = pi;
    input.normals = normals;
    input.outputPerPixel = sampling.ratio;
    input.samplesPerPixel = sampling.ratio * sampling.antialias;
    input.width = m_width;
    input.antialias = sampling.antialias;
    m_abscissas.resize(static_cast<std::size_t>(input.width) *
                       static_cast<std::size_t>(input.antialias));
    m_abscissasFinite = detail::withMapping(projection, [&]<class Mapping>() {
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

int FinePicture::renderRow(int row, std::span<PackedColour> out) const {
    if (row < 0 || row >= height()) {
        throw std::out_of_range("row " + std::to_string(row) + " is outside the picture");
    }
    if (out.size() < static_cast<std::size_t>(width())) {
        throw std::out_of_range("the row needs room for " + std::to_string(width()) + " pixels");
    }
    return detail::withMapping(m_projection, [&]<class Mapping>() {
        return detail::scanRow<Mapping>(row, *m_input, m_abscissas.data(), m_abscissasFinite,
                                        out.data());
    });
}

}  // namespace vantu
