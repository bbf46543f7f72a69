// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include "drawing/prepared_picture.h"
#include "export/picture_writer.h"
#include "render/sample_grid.h"
#include "threads/ordered_work.h"

namespace vantu::cli {

// How a picture is rendered into a file.
struct ExportSettings {
    PictureType type = PictureType::png;
    WorkOptions work;  // the threads rendering rows; the progress advanced by one per row written
};

// The PNG of a picture sampled on `grid`: its output size, in 8-bit indexed colour when every
// pixel is one sample and no overlay is painted over it (the colouring's 21 colours and grey),
// else 8-bit RGB: an overlay's antialiased lines mix their colours with the picture's.
[[nodiscard]] PngFormat pngFormatOf(const SampleGrid& grid, bool marked);

// The PNG of `picture`, marked when it has an overlay.
[[nodiscard]] PngFormat pngFormatOf(const PreparedPicture& picture);

// Renders `picture` row by row on this thread alone, its overlay painted over each row, into a
// file of `type` in `out`, whole once it returns (to be committed): a row and an encoder in
// memory. A signal that asks to stop ends it before the next row. Throws the DrawError of a row
// that faults, WriteError, Interrupted and std::bad_alloc.
void renderInto(const PreparedPicture& picture, PictureType type, OutputFile& out);

// Renders `picture` (its overlay painted over each row) and encodes it as a file of
// settings.type into `out`, row after row as the rows are done. The rows are rendered on
// settings.work.jobs threads and written on one, with a few rows per thread in memory whatever
// the picture's height. Throws the DrawError of the first row, from the top, that faults: `out`
// then holds an unfinished file, not to be committed. Throws WriteError, Interrupted and
// std::bad_alloc as they come.
void exportPicture(const PreparedPicture& picture, OutputFile& out, const ExportSettings& settings);

}  // namespace vantu::cli
