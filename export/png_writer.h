// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Pictures as PNG files, encoded row by row as the rows come, with libspng.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "export/output_file.h"
#include "geometry/raster.h"

namespace vantu {

// What a PNG holds: its size, and how its colours are stored. With a palette the file is an
// 8-bit indexed-colour PNG whose palette is `palette`, in that order, and every colour of every
// row must be in it; without one it is 8-bit RGB. Either way without alpha.
struct PngFormat {
    int width = 0;                      // 1 to 2^31 - 1
    int height = 0;                     // 1 to 2^31 - 1
    std::vector<PackedColour> palette;  // at most 256 distinct colours; empty for RGB
};

// The red, green and blue bytes of each colour of `row`, in turn, from `out` on
// (3 * row.size() of them).
void rgbBytes(std::span<const PackedColour> row, std::uint8_t* out) noexcept;

// Encodes a picture, one row after the other from the top, into an OutputFile, with little
// memory whatever the picture's height. The filter and compression suit pictures of large areas
// of one colour: each row is stored as its difference from the row above, deflated as runs.
class PngWriter {
public:
    // Begins a PNG of `format` in `out`, which must outlive the writer. Throws
    // std::invalid_argument for a size or palette out of range, WriteError, std::bad_alloc.
    PngWriter(OutputFile& out, const PngFormat& format);
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;
    ~PngWriter();

    // Encodes the next row: `row` holds the format's width of colours. Throws
    // std::invalid_argument for a colour not in the palette, std::logic_error after the last
    // row, WriteError and std::bad_alloc.
    void writeRow(std::span<const PackedColour> row);

    // How many bytes the file stores per row: the width, or three times it for RGB.
    [[nodiscard]] std::size_t rowBytes() const noexcept;

    // The bytes the file stores for `row` (the format's width of colours) into `bytes`
    // (rowBytes() of them): palette indices or red, green, blue. Changes nothing in the writer,
    // so that threads can prepare rows while another writes them. Throws std::invalid_argument
    // for a colour not in the palette or spans of the wrong sizes.
    void encodePixels(std::span<const PackedColour> row, std::span<std::uint8_t> bytes) const;

    // writeRow for a row that encodePixels prepared.
    void writeEncodedRow(std::span<const std::uint8_t> bytes);

    // After the last row, ends the PNG; the OutputFile then holds all of it, to be committed.
    // Throws std::logic_error when rows are missing, WriteError.
    void finish();

private:
    struct Encoder;
    std::unique_ptr<Encoder> m_encoder;
};

}  // namespace vantu
