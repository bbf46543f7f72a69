// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "drawing/draw_procedure.h"
#include "export/picture_writer.h"
#include "geometry/text.h"
#include "geometry/view.h"
#include "render/fine_picture.h"
#include "setup/draw_request.h"

namespace vantu::cli {

// What vantu-render does for a command line.
enum class Mode {
    picture,    // -o: the picture at any sampling, its rows shared among threads
    runs,       // --runs: the window's own drawing listed, and painted into the PNG with -o
    snub,       // --snub alone: the points where the six hues meet listed, nothing drawn
    gallery,    // --gallery: every catalogue code into a folder, with its contact sheet
    turntable,  // --turntable: frames of the sphere turning, as an animated WebP or PNG files
};

// A command line understood: everything vantu-render needs to do what it asks. Every drawing
// input defaults to the window's start-up state.
struct Command {
    Mode mode = Mode::picture;
    DrawRequest request;  // the drawing, but for its scale: readRequest reads that from scaleText
    std::string scaleText = formatNumber(DrawRequest{}.scale);  // the scale box's text
    View view;                                                  // --view
    PictureSize size;                                           // --size, in window pixels
    Sampling sampling;                                          // --zoom and --antialias
    std::string output;  // the picture (-o) or the gallery's folder; empty for none
    PictureType pictureType = PictureType::png;  // the picture's, from its name
    int frames = 0;                              // --turntable; 0 for none
    int fps = 30;                                // --fps
    int jobs = 0;                                // threads; 0 for one per core
    bool listSnubPoints = false;  // before anything else (in Mode::snub, instead of it)
    bool markSnubPoints = false;  // ring them in the PNG
    bool permutations = false;    // the gallery draws every rotation, and each reversed
};

// The command's draw request with the scale read from its text. Throws DrawError as readScale
// does, for a number beyond the range of doubles.
[[nodiscard]] DrawRequest readRequest(const Command& command);

// The picture the command describes: readRequest, the view, the size and the sampling.
[[nodiscard]] PictureDescription describedPicture(const Command& command);

}  // namespace vantu::cli
