// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/sample_grid.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "geometry/text.h"
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

SampleGrid::SampleGrid(PictureSize size, Sampling sampling)
    : m_sampling(checkedSampling(sampling)),
      m_size(checkedSize(size)),
      m_width(devicePixels(size.width, sampling.ratio)),
      m_height(devicePixels(size.height, sampling.ratio)) {}

double SampleGrid::windowCoordinate(int index) const noexcept {
    return detail::sampleCoordinate(index, m_sampling.ratio);
}

bool SampleGrid::stopsOnVerticalAxis(Projection projection) const noexcept {
    return !definedOnVerticalAxis(projection) && sampleOnVerticalAxis(m_size, m_sampling);
}

PictureSize offAxisSize(PictureSize size, Sampling sampling, Projection projection) noexcept {
    if (definedOnVerticalAxis(projection)) {
        return size;
    }
    while (size.width > 1 && sampleOnVerticalAxis(size, sampling)) {
        --size.width;
    }
    return size;
}

}  // namespace vantu
