// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/turntable.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

#include "cli/export.h"
#include "cli/indexed_work.h"
#include "cli/interruption.h"
#include "export/output_file.h"
#include "export/picture_writer.h"
#include "geometry/text.h"

namespace vantu::cli {

View frameView(const View& view, int k, int frames) noexcept {
    const double turn = (360.0 * k) / frames;
    return {view.lon + turn, view.lat, view.roll};
}

bool namesFrameFolder(std::string_view name) noexcept {
    return name.ends_with('/');
}

std::string frameFileName(int k) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d.png", k);
    return name;
}

void writeTurntable(const PictureDescription& description, const std::string& target,
                    const TurntableSettings& settings, int& written) {
    written = 0;
    const PngFormat format =
        pngFormatOf(description.size, description.sampling, settings.marks.any());
    const bool folder = namesFrameFolder(target);
    std::optional<OutputFile> file;
    std::optional<AnimatedWebpWriter> webp;
    if (folder) {
        if (const std::error_code error = createFolder(target)) {
            throw WriteError("'" + escapeText(target) + "'", error.value());
        }
    } else {
        file.emplace(OutputFile::replacing(target));
        webp.emplace(*file, format.width, format.height, settings.fps);
    }

    IndexedWork work;
    work.count = static_cast<std::size_t>(settings.frames);
    work.threads = settings.jobs;
    work.progress = settings.progress;
    work.onFewerThreads = settings.onFewerThreads;
    const auto width = static_cast<std::size_t>(format.width);
    std::vector<std::vector<PackedColour>> frames(windowOf(work));
    const auto failure = runIndexedWork(
        work,
        [&](std::size_t k, std::size_t slot) {
            PictureDescription frame = description;
            frame.view = frameView(description.view, static_cast<int>(k), settings.frames);
            const FinePicture picture = preparePicture(frame);
            std::vector<PackedColour>& pixels = frames[slot];
            pixels.resize(width * static_cast<std::size_t>(format.height));
            for (int row = 0; row < format.height; ++row) {
                stopIfInterrupted();
                picture.renderRow(
                    row, std::span(pixels).subspan(static_cast<std::size_t>(row) * width, width));
            }
            if (const std::optional<Overlay> marks = marksOver(frame, settings.marks)) {
                marks->paint(pixels);
            }
        },
        [&](std::size_t k, std::size_t slot) {
            const std::vector<PackedColour>& pixels = frames[slot];
            if (webp) {
                webp->addFrame(pixels);
                return;
            }
            writePicture(std::filesystem::path(target) / frameFileName(static_cast<int>(k)),
                         PictureType::png, format, [&](int row, std::span<PackedColour> out) {
                             const auto line = std::span(pixels).subspan(
                                 static_cast<std::size_t>(row) * width, width);
                             std::copy(line.begin(), line.end(), out.begin());
                         });
            ++written;
        });
    if (failure) {
        std::rethrow_exception(failure->error);
    }
    if (webp) {
        webp->finish();
        file->close();
        // A signal that came while the last bytes were written still keeps the old file.
        stopIfInterrupted();
        file->publish();
        written = settings.frames;
    }
}

}  // namespace vantu::cli
