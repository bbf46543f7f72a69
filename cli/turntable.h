// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The turntable: frames of the sphere turning once about the picture's vertical axis, or of a
// plane's picture rolling once about its centre.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "drawing/draw_procedure.h"
#include "drawing/picture_overlay.h"
#include "geometry/geometry.h"
#include "geometry/view.h"
#include "threads/ordered_work.h"

namespace vantu::cli {

// The view of frame `k` (0 to frames - 1) of `frames` in `geometry`: on the sphere
// (reducedDegrees(lon) + (360 k) / frames, lat, roll), in the planes, whose LON and LAT are
// lengths, (lon, lat, reducedDegrees(roll) + (360 k) / frames), each operation rounded as
// written. The angle is reduced first so that the turn is not lost in an angle such as 1e20; one
// within a turn is as it was.
[[nodiscard]] View frameView(const View& view, int k, int frames, Geometry geometry) noexcept;

// Whether `name` asks for a folder of frames: it ends in '/'.
[[nodiscard]] bool namesFrameFolder(std::string_view name) noexcept;

// The name of frame `k` in a folder of frames: "0000.png", "0001.png", ...
[[nodiscard]] std::string frameFileName(int k);

// How a turntable is drawn.
struct TurntableSettings {
    int frames = 1;                  // 1 or more
    int fps = 30;                    // the WebP's frames per second
    std::size_t framesInFlight = 0;  // the WebP's whole frames in memory; 0: two per job
    OverlayOptions marks;            // painted over every frame where its view puts them
    WorkOptions
        work;  // the frames rendered at once; the progress advanced by one per frame written
};

// How many whole frames of `frameBytes` each an animated WebP may keep in memory, rendered or
// being rendered and not yet encoded, for `jobs` threads with `memory` bytes to spare for them:
// as many as fit in half of that and in 256 MiB, at least one and at most two per job.
[[nodiscard]] std::size_t webpFramesInFlight(std::uint64_t frameBytes, int jobs,
                                             std::uint64_t memory) noexcept;

// Draws settings.frames frames of `description`, frame k at frameView(description.view, k, ...)
// in the triangle's geometry
// with the marks settings.marks asks for, rendered on settings.work.jobs threads, into `target`.
// The triangle is solved once, and each frame is that prepared picture redescribed at its view.
// Every file is written completely or not at all.
//
// A folder of PNG frames when namesFrameFolder(target): a LockedFolder (made when missing,
// through a symbolic link too, and locked meanwhile, so that a second turntable or gallery into
// it at the same time is refused), from which the numbered frames of an earlier turntable are
// removed first, so that it never holds frames of two runs. Each frame streams row by row into
// its file on one thread, as -o writes a picture, and the frames are put in place in order: the
// folder holds the first `written` frames, whole.
//
// Else one animated lossless WebP, all of it or nothing, its frames rendered whole, at most
// settings.framesInFlight at once, and encoded in order.
//
// `written` counts the frames written so far, also when an exception ends the run. Throws the
// DrawError of the first frame that faults, FolderError, WriteError, Interrupted and
// std::bad_alloc.
void writeTurntable(const PictureDescription& description, const std::string& target,
                    const TurntableSettings& settings, int& written);

}  // namespace vantu::cli
