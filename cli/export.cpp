// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/export.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "cli/indexed_work.h"
#include "cli/interruption.h"
#include "render/pixel_colour.h"

namespace vantu::cli {

PngFormat pngFormatOf(PictureSize size, Sampling sampling, bool marked) {
    PngFormat format;
    format.width = devicePixels(size.width, sampling.ratio);
    format.height = devicePixels(size.height, sampling.ratio);
    if (sampling.antialias == 1 && !marked) {
        const auto colours = pictureColours();
        format.palette.assign(colours.begin(), colours.end());
        format.palette.push_back(grey);
    }
    return format;
}

std::optional<Overlay> marksOver(const PictureDescription& description,
                                 const OverlayOptions& options) {
    if (!options.any()) {
        return std::nullopt;
    }
    return std::move(pictureOverlay(description, options).overlay);
}

void renderInto(const FinePicture& picture, const Overlay* marks, PictureType type,
                OutputFile& out) {
    PictureWriter writer(out, type,
                         pngFormatOf(picture.size(), picture.sampling(), marks != nullptr));
    std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
    std::vector<std::uint8_t> bytes(writer.rowBytes());
    for (int r = 0; r < picture.height(); ++r) {
        stopIfInterrupted();
        picture.renderRow(r, row);
        if (marks != nullptr) {
            marks->paintRow(r, row);
        }
        writer.encodePixels(row, bytes);
        writer.writeEncodedRow(bytes);
    }
    writer.finish();
}

void exportPicture(const FinePicture& picture, OutputFile& out, const ExportSettings& settings) {
    PictureWriter writer(
        out, settings.type,
        pngFormatOf(picture.size(), picture.sampling(), settings.marks != nullptr));
    const auto width = static_cast<std::size_t>(picture.width());
    IndexedWork work;
    work.count = static_cast<std::size_t>(picture.height());
    work.threads = settings.jobs;
    work.progress = settings.progress;
    work.onFewerThreads = settings.onFewerThreads;
    // One row per slot of the window: the rows between being rendered and being written, each
    // turned into the file's bytes by the thread that rendered it.
    struct Slot {
        std::vector<PackedColour> colours;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Slot> slots(windowOf(work), Slot{std::vector<PackedColour>(width),
                                                 std::vector<std::uint8_t>(writer.rowBytes())});
    const auto failure = runIndexedWork(
        work,
        [&](std::size_t row, std::size_t slot) {
            Slot& s = slots[slot];
            picture.renderRow(static_cast<int>(row), s.colours);
            if (settings.marks != nullptr) {
                settings.marks->paintRow(static_cast<int>(row), s.colours);
            }
            writer.encodePixels(s.colours, s.bytes);
        },
        [&](std::size_t /*row*/, std::size_t slot) { writer.writeEncodedRow(slots[slot].bytes); });
    if (failure) {
        std::rethrow_exception(failure->error);
    }
    writer.finish();
}

}  // namespace vantu::cli
