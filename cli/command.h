// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "drawing/picture_overlay.h"
#include "export/picture_writer.h"
#include "options/picture_options.h"
#include "polyhedron/wythoff.h"

namespace vantu::cli {

// What vantu-render does for a command line.
enum class Mode {
    picture,    // -o: the picture at any sampling, its rows shared among threads
    runs,       // --runs: the window's own drawing listed, and painted into the file with -o
    snub,       // --snub alone: the points where the six hues meet listed, nothing drawn
    info,       // --info: the triangle's facts listed, and its polyhedron's; nothing drawn
    gallery,    // --gallery: every catalogue code into a folder, with its contact sheet
    turntable,  // --turntable: frames of the sphere turning, as an animated WebP or PNG files
    model,      // -o NAME.off, .obj, .stl or .glb: the polyhedron's model, or its dual's
};

// A command line understood: everything vantu-render needs to do what it asks. Every drawing
// input defaults to the window's start-up state.
struct Command {
    Mode mode = Mode::picture;
    options::PictureOptions picture;  // the drawing options, --size, --zoom and --antialias
    std::string output;   // -o: the picture file, or "-" for the standard output; empty for none
    std::string gallery;  // --gallery: the gallery's folder; empty for none
    PictureType pictureType = PictureType::png;  // the picture file's, from its name
    int frames = 0;                              // --turntable; 0 for none
    int fps = 30;                                // --fps
    int jobs = 0;                                // threads; 0 for one per core
    bool listSnubPoints = false;  // before anything else (in Mode::snub, instead of it)
    OverlayOptions marks;         // --mark-*: painted over every picture drawn
    bool permutations = false;    // the gallery draws every rotation, and each reversed
    // --polyhedron: the Wythoff symbol whose triangle the picture's request holds; none for none.
    std::optional<WythoffSymbol> symbol;
    // --point: the generating point on the picture's triangle; none for none.
    std::optional<GeneratingPoint> point;
    bool dual = false;  // --dual: the polyhedron's dual instead of it

    // Whether the command asks for a polyhedron (--polyhedron or --point).
    [[nodiscard]] bool hasPolyhedron() const noexcept { return symbol || point; }
};

}  // namespace vantu::cli
