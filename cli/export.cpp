// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/export.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cli/interruption.h"
#include "render/pixel_colour.h"

namespace vantu::cli {

PngFormat pngFormatOf(const SampleGrid& grid, bool marked) {
    PngFormat format;
    format.width = grid.width();
    format.height = grid.height();
    if (grid.sampling().antialias == 1 && !marked) {
        const auto colours = pictureColours();
        format.palette.assign(colours.begin(), colours.end());
        format.palette.push_back(grey);
    }
    return format;
}

PngFormat pngFormatOf(const PreparedPicture& picture) {
    return pngFormatOf(picture.grid(), picture.overlay() != nullptr);
}

void renderInto(const PreparedPicture& picture, PictureType type, OutputFile& out) {
    PictureWriter writer(out, type, pngFormatOf(picture));
    std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
    std::vector<std::uint8_t> bytes(writer.rowBytes());
    for (int r = 0; r < picture.height(); ++r) {
        stopIfInterrupted();
        (void)picture.renderRow(r, row);
        writer.encodePixels(row, bytes);
        writer.writeEncodedRow(bytes);
    }
    writer.finish();
}

void exportPicture(const PreparedPicture& picture, OutputFile& out,
                   const ExportSettings& settings) {
    PictureWriter writer(out, settings.type, pngFormatOf(picture));
    const auto width = static_cast<std::size_t>(picture.width());
    OrderedWork work;
    work.count = static_cast<std::size_t>(picture.height());
    work.options = settings.work;
    // One row per slot of the window: the rows between being rendered and being written, each
    // turned into the file's bytes by the thread that rendered it.
    struct Slot {
        std::vector<PackedColour> colours;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Slot> slots(windowOf(work), Slot{std::vector<PackedColour>(width),
                                                 std::vector<std::uint8_t>(writer.rowBytes())});
    const auto failure = runInterruptibly(
        work,
        [&](std::size_t row, std::size_t slot) {
            Slot& s = slots[slot];
            (void)picture.renderRow(static_cast<int>(row), s.colours);
            writer.encodePixels(s.colours, s.bytes);
        },
        [&](std::size_t /*row*/, std::size_t slot) { writer.writeEncodedRow(slots[slot].bytes); });
    if (failure) {
        std::rethrow_exception(failure->error);
    }
    writer.finish();
}

}  // namespace vantu::cli
