// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

#include "cli/progress.h"
#include "drawing/picture_overlay.h"
#include "export/picture_writer.h"
#include "render/fine_picture.h"
#include "render/overlay.h"

namespace vantu::cli {

// How a picture is rendered into a file.
struct ExportSettings {
    PictureType type = PictureType::png;
    int jobs = 0;                     // threads rendering rows; 0: one per core
    ProgressBar* progress = nullptr;  // advanced by one per row written; may be null
    const Overlay* marks = nullptr;   // painted over the picture; may be null
    // Told when fewer threads could be started than asked for; may be empty.
    std::function<void(const std::string&)> onFewerThreads;
};

// The PNG of a picture of `size` window pixels at `sampling`: its output size, in 8-bit indexed
// colour when every pixel is one sample and no overlay is painted over it (the colouring's 21
// colours and grey), else 8-bit RGB: an overlay's antialiased lines mix their colours with the
// picture's.
[[nodiscard]] PngFormat pngFormatOf(PictureSize size, Sampling sampling, bool marked);

// The marks `options` asks for over the picture `description` describes, as pictureOverlay draws
// them; nothing when none is asked for. Throws as pictureOverlay does.
[[nodiscard]] std::optional<Overlay> marksOver(const PictureDescription& description,
                                               const OverlayOptions& options);

// Renders `picture` row by row on this thread alone, with `marks` (may be null) painted over
// each row, into a file of `type` in `out`, whole once it returns (to be committed): a row and
// an encoder in memory. A signal that asks to stop ends it before the next row. Throws the
// DrawError of a row that faults, WriteError, Interrupted and std::bad_alloc.
void renderInto(const FinePicture& picture, const Overlay* marks, PictureType type,
                OutputFile& out);

// Renders `picture` and encodes it as a file of settings.type into `out`, row after row as the
// rows are done. The
// rows are rendered on settings.jobs threads and written on one, with a few rows per thread in
// memory whatever the picture's height. Throws the DrawError of the first row, from the top,
// that faults: `out` then holds an unfinished file, not to be committed. Throws WriteError,
// Interrupted and std::bad_alloc as they come.
void exportPicture(const FinePicture& picture, OutputFile& out, const ExportSettings& settings);

}  // namespace vantu::cli
