// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "render/run_sink.h"

namespace vantu {

// A run sink that fills a 640 x 481 raster of packed colours, row-major. Pixels no run has
// painted hold `unpainted`.
class ImageSink : public RunSink {
public:
    static constexpr PackedColour unpainted = -1;

    ImageSink() : m_pixels(static_cast<std::size_t>(pictureWidth) * pictureHeight, unpainted) {}

    void drawRun(int row, int first, int end, PackedColour colour) override {
        auto* line = &m_pixels[static_cast<std::size_t>(row) * pictureWidth];
        for (int col = first; col < end; ++col) {
            line[col] = colour;
        }
    }
    void endRow(int row) override { m_rowsFinished = row + 1; }

    [[nodiscard]] PackedColour at(int col, int row) const {
        return m_pixels[static_cast<std::size_t>(row) * pictureWidth +
                        static_cast<std::size_t>(col)];
    }
    [[nodiscard]] const std::vector<PackedColour>& pixels() const noexcept { return m_pixels; }
    // Rows that got their endRow.
    [[nodiscard]] int rowsFinished() const noexcept { return m_rowsFinished; }

private:
    std::vector<PackedColour> m_pixels;
    int m_rowsFinished = 0;
};

}  // namespace vantu
