// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// PNG files read back with libspng, for the tests of what the programs write.

#include <spng.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/raster.h"

namespace vantu::testing_support {

// A PNG as its pixels: red + 256 green + 65536 blue each, row after row.
struct DecodedPng {
    int width = 0;
    int height = 0;
    int colourType = -1;  // SPNG_COLOR_TYPE_INDEXED, ..._TRUECOLOR, ...
    int bitDepth = 0;
    std::vector<PackedColour> palette;  // of an indexed-colour file
    std::vector<PackedColour> pixels;
    std::string problem;  // why it could not be read, or empty

    [[nodiscard]] PackedColour at(int col, int row) const {
        return pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(col)];
    }
};

// Decodes the PNG bytes `data`; `problem` says why when they are no whole PNG.
inline DecodedPng decodePng(const std::string& data) {
    DecodedPng png;
    const std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> context(spng_ctx_new(0), spng_ctx_free);
    spng_ihdr header{};
    std::size_t size = 0;
    int e = spng_set_png_buffer(context.get(), data.data(), data.size());
    e = e != 0 ? e : spng_get_ihdr(context.get(), &header);
    e = e != 0 ? e : spng_decoded_image_size(context.get(), SPNG_FMT_RGB8, &size);
    std::vector<std::uint8_t> rgb(size);
    e = e != 0 ? e : spng_decode_image(context.get(), rgb.data(), size, SPNG_FMT_RGB8, 0);
    if (e != 0) {
        png.problem = spng_strerror(e);
        return png;
    }
    png.width = static_cast<int>(header.width);
    png.height = static_cast<int>(header.height);
    png.colourType = header.color_type;
    png.bitDepth = header.bit_depth;
    spng_plte plte{};
    if (spng_get_plte(context.get(), &plte) == 0) {
        for (std::uint32_t i = 0; i < plte.n_entries; ++i) {
            const spng_plte_entry& p = plte.entries[i];
            png.palette.push_back(p.red + 256 * p.green + 65536 * p.blue);
        }
    }
    png.pixels.reserve(size / 3);
    for (std::size_t i = 0; i + 2 < size; i += 3) {
        png.pixels.push_back(rgb[i] + 256 * rgb[i + 1] + 65536 * rgb[i + 2]);
    }
    return png;
}

// Decodes the PNG file at `path`.
inline DecodedPng readPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        DecodedPng png;
        png.problem = "cannot open " + path;
        return png;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return decodePng(bytes.str());
}

}  // namespace vantu::testing_support
