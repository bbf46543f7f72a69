// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The turntable: frames of the sphere turning once about the picture's vertical axis.

#include <functional>
#include <string>
#include <string_view>

#include "cli/progress.h"
#include "drawing/draw_procedure.h"
#include "drawing/picture_overlay.h"
#include "geometry/view.h"

namespace vantu::cli {

// The view of frame `k` (0 to frames - 1) of `frames`: (lon + (360 k) / frames, lat, roll),
// each operation rounded as written.
[[nodiscard]] View frameView(const View& view, int k, int frames) noexcept;

// Whether `name` asks for a folder of frames: it ends in '/'.
[[nodiscard]] bool namesFrameFolder(std::string_view name) noexcept;

// The name of frame `k` in a folder of frames: "0000.png", "0001.png", ...
[[nodiscard]] std::string frameFileName(int k);

// How a turntable is drawn.
struct TurntableSettings {
    int frames = 1;                   // 1 or more
    int fps = 30;                     // the WebP's frames per second
    int jobs = 0;                     // frames rendered at once; 0: one per core
    OverlayOptions marks;             // painted over every frame where its view puts them
    ProgressBar* progress = nullptr;  // advanced by one per frame written; may be null
    // Told when fewer threads could be started than asked for; may be empty.
    std::function<void(const std::string&)> onFewerThreads;
};

// Draws settings.frames frames of `description`, frame k at frameView(description.view, k, ...)
// with the marks settings.marks asks for (marksOver), rendered on settings.jobs threads and encoded
// in order, into `target`: a folder of PNG frames (created if missing, through a symbolic link too)
// when namesFrameFolder(target), else one animated lossless WebP. Every file is written completely
// or not at all, so the folder only ever holds whole frames and the WebP is all of them or nothing.
// `written` counts the frames written so far, also when an exception ends the run. Throws the
// DrawError of the first frame that faults, WriteError (also for a folder that cannot be made),
// Interrupted and std::bad_alloc.
void writeTurntable(const PictureDescription& description, const std::string& target,
                    const TurntableSettings& settings, int& written);

}  // namespace vantu::cli
