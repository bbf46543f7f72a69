// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/draw_procedure.h"
#include "drawing/picture_overlay.h"
#include "setup/draw_request.h"
#include "threads/ordered_work.h"

namespace vantu::cli {

// One picture of the gallery.
struct GalleryPicture {
    DrawRequest request;  // a catalogue code; the scale is the gallery's, GallerySettings::scale
    std::string file;     // its file name in the gallery folder: pictureFileName
};

// How every picture of the gallery is drawn.
struct GallerySettings {
    // What every picture shares: R (the request's scale), the view, the size and the sampling.
    // The code, the rotation, the reverse flag and the projection are each picture's own.
    PictureDescription shared;
    std::string scaleText = "120";  // as --scale gives it, for the page
    OverlayOptions marks;           // painted over every picture
};

// A gallery that could not be written: a file or the folder. The message says which and why.
class GalleryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The gallery's pictures in page order: every catalogue code in turn, each in rotation 0 (and,
// with `permutations`, rotations 1 and 2, each also reversed), each in every projection.
[[nodiscard]] std::vector<GalleryPicture> galleryPictures(bool permutations);

// The contact sheet of `pictures`: what every picture shares (R, the view, the size, the zoom
// and the antialias), then one table row per code, in the order the codes first appear, with
// the label, the code, the three angles in degrees, their sum and the thumbnails, each a link to
// its picture, as large as fits in 160 x 120 in the pictures' own proportions. Plain HTML and
// CSS, no scripts.
[[nodiscard]] std::string galleryPage(const std::vector<GalleryPicture>& pictures,
                                      const GallerySettings& settings);

// Renders every picture into `folder` (a LockedFolder: made when missing, through a symbolic
// link too, and locked meanwhile, so that a second gallery or turntable into it at the same time
// is refused at once) as a PNG, `work.jobs` at once (the progress advanced by one per picture),
// then writes index.html. Each file is written
// completely or not at all, and the page of an earlier gallery in `folder` is removed first, so
// that a page is only ever beside the pictures it describes. Throws FolderError for a folder
// that cannot be made or is locked; GalleryError naming the first picture, in page order, whose
// drawing faults, and for an old page that cannot be removed; WriteError for a file that cannot
// be written, Interrupted and std::bad_alloc; the page is then not written.
void writeGallery(const std::filesystem::path& folder, const std::vector<GalleryPicture>& pictures,
                  const GallerySettings& settings, const WorkOptions& work);

// `text` with &, <, >, " and ' written as character references, for HTML text and attributes.
[[nodiscard]] std::string htmlEscape(std::string_view text);

}  // namespace vantu::cli
