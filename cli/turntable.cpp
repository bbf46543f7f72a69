// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/turntable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/export.h"
#include "cli/interruption.h"
#include "cli/output_folder.h"
#include "export/output_file.h"
#include "export/picture_writer.h"
#include "geometry/text.h"
#include "geometry/view.h"
#include "render/sample_grid.h"

namespace vantu::cli {

View frameView(const View& view, int k, int frames, Geometry geometry) noexcept {
    const double turn = (360.0 * k) / frames;
    if (geometry != Geometry::spherical) {
        return {view.lon, view.lat, reducedDegrees(view.roll) + turn};
    }
    return {reducedDegrees(view.lon) + turn, view.lat, view.roll};
}

bool namesFrameFolder(std::string_view name) noexcept {
    return name.ends_with('/');
}

std::string frameFileName(int k) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d.png", k);
    return name;
}

std::size_t webpFramesInFlight(std::uint64_t frameBytes, int jobs, std::uint64_t memory) noexcept {
    constexpr std::uint64_t most = std::uint64_t{256} << 20U;
    const std::uint64_t fit = std::min(memory / 2, most) / std::max<std::uint64_t>(frameBytes, 1);
    return static_cast<std::size_t>(
        std::clamp<std::uint64_t>(fit, 1, 2 * static_cast<std::uint64_t>(std::max(jobs, 1))));
}

namespace detail {
namespace {

// Frame `k` of the turntable of `description`, a triangle of `geometry`, with `frames` frames.
PictureDescription frameOf(const PictureDescription& description, std::size_t k, int frames,
                           Geometry geometry) {
    PictureDescription frame = description;
    frame.view = frameView(description.view, static_cast<int>(k), frames, geometry);
    return frame;
}

// Whether `name` is one that frameFileName gives: four digits, then ".png".
bool isFrameFileName(std::string_view name) {
    return name.size() == 8 && name.ends_with(".png") &&
           std::all_of(name.begin(), name.begin() + 4, [](char c) { return c >= '0' && c <= '9'; });
}

// Removes the numbered frames of an earlier turntable from `folder`, so that it never holds
// frames of two runs. Anything else in it stays.
void removeEarlierFrames(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> frames;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (isFrameFileName(pathText(entry->path().filename())) && !entry->is_directory(error)) {
            frames.push_back(entry->path());
        }
    }
    if (error) {
        throw FolderError("cannot read the folder '" + escapeText(pathText(folder)) +
                          "': " + error.message());
    }
    for (const std::filesystem::path& frame : frames) {
        if (std::filesystem::remove(frame, error); error) {
            throw FolderError("cannot remove the earlier frame '" + escapeText(pathText(frame)) +
                              "': " + error.message());
        }
    }
}

// The frames' work: one item per frame, `window` of them in flight (0: two per job).
OrderedWork workOf(const TurntableSettings& settings, std::size_t window) {
    OrderedWork work;
    work.count = static_cast<std::size_t>(settings.frames);
    work.window = window;
    work.options = settings.work;
    return work;
}

// Draws each frame with `draw`, its picture redescribed from one prepared picture whose triangle
// is solved once, on the threads `work` asks for, and hands it to `deliver` in order. Throws the
// first frame's fault.
void drawFrames(
    const PictureDescription& description, const TurntableSettings& settings,
    const OrderedWork& work,
    const std::function<void(std::size_t k, std::size_t slot, const PreparedPicture&)>& draw,
    const ItemDelivery& deliver) {
    // The geometry, and with it what a frame turns, is known once the triangle is solved.
    const PreparedPicture solved(description, settings.marks);
    const Geometry geometry = solved.setup().geometry;
    const auto failure = runInterruptibly(
        work,
        [&](std::size_t k, std::size_t slot) {
            draw(k, slot,
                 solved.redescribed(frameOf(description, k, settings.frames, geometry),
                                    settings.marks));
        },
        deliver);
    if (failure) {
        std::rethrow_exception(failure->error);
    }
}

// The frames into a folder, each streamed into its file by one thread and put in place in order.
void writeFrameFolder(const PictureDescription& description, const std::string& target,
                      const TurntableSettings& settings, int& written) {
    const std::filesystem::path folderPath = filePath(target);
    const LockedFolder folder(folderPath);
    removeEarlierFrames(folderPath);
    const OrderedWork work = workOf(settings, 0);
    // Each frame whole in its temporary file until the frames before it are in place.
    std::vector<std::optional<OutputFile>> files(windowOf(work));
    drawFrames(
        description, settings, work,
        [&](std::size_t k, std::size_t slot, const PreparedPicture& picture) {
            OutputFile& file = files[slot].emplace(
                OutputFile::replacing(folderPath / frameFileName(static_cast<int>(k))));
            renderInto(picture, PictureType::png, file);
            file.close();
        },
        [&](std::size_t /*k*/, std::size_t slot) {
            // A signal that came while the frame was written keeps it out of the folder.
            stopIfInterrupted();
            files[slot]->publish();
            files[slot].reset();
            ++written;
        });
}

// The frames rendered whole, a few at once, and encoded in order into one animated WebP.
void writeAnimation(const PictureDescription& description, const std::string& target,
                    const TurntableSettings& settings, int& written) {
    const PngFormat format =
        pngFormatOf(SampleGrid(description.size, description.sampling), settings.marks.any());
    OutputFile file = OutputFile::replacing(filePath(target));
    AnimatedWebpWriter webp(file, format.width, format.height, settings.fps);
    const OrderedWork work = workOf(settings, settings.framesInFlight);
    const auto width = static_cast<std::size_t>(format.width);
    std::vector<std::vector<PackedColour>> frames(windowOf(work));
    drawFrames(
        description, settings, work,
        [&](std::size_t /*k*/, std::size_t slot, const PreparedPicture& picture) {
            std::vector<PackedColour>& pixels = frames[slot];
            pixels.resize(width * static_cast<std::size_t>(format.height));
            for (int row = 0; row < format.height; ++row) {
                stopIfInterrupted();
                (void)picture.renderRow(
                    row, std::span(pixels).subspan(static_cast<std::size_t>(row) * width, width));
            }
        },
        [&](std::size_t /*k*/, std::size_t slot) { webp.addFrame(frames[slot]); });
    frames.clear();
    webp.finish();
    file.close();
    // A signal that came while the last bytes were written still keeps the old file.
    stopIfInterrupted();
    file.publish();
    written = settings.frames;
}

}  // namespace
}  // namespace detail

void writeTurntable(const PictureDescription& description, const std::string& target,
                    const TurntableSettings& settings, int& written) {
    written = 0;
    if (namesFrameFolder(target)) {
        detail::writeFrameFolder(description, target, settings, written);
    } else {
        detail::writeAnimation(description, target, settings, written);
    }
}

}  // namespace vantu::cli
