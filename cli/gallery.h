#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cli/progress.h"
#include "geometry/projection.h"
#include "render/fine_picture.h"
#include "setup/draw_request.h"

namespace vantu::cli {

// One picture of the gallery.
struct GalleryPicture {
    DrawRequest request;  // a catalogue code; the scale is the gallery's, GallerySettings::scale
    std::string file;     // its file name in the gallery folder: pictureFileName
};

// How every picture of the gallery is drawn.
struct GallerySettings {
    std::string scaleText = "120";  // as --scale gives it, for the page
    double scale = 120.0;
    Sampling sampling;
};

// A gallery that could not be written: a file or the folder. The message says which and why.
class GalleryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The gallery's pictures in page order: every catalogue code in turn, each in rotation 0 (and,
// with `permutations`, rotations 1 and 2, each also reversed), each in every projection.
[[nodiscard]] std::vector<GalleryPicture> galleryPictures(bool permutations);

// The contact sheet of `pictures`: one table row per code, in the order the codes first
// appear, with the label, the code, the three angles in degrees, their sum and the thumbnails,
// each a link to its picture. Plain HTML and CSS, no scripts.
[[nodiscard]] std::string galleryPage(const std::vector<GalleryPicture>& pictures,
                                      const GallerySettings& settings);

// Renders every picture into `folder` (created if missing) as a PNG, on `jobs` threads (one per
// core when 0), each taking the next picture not yet taken, then writes index.html. Advances
// `progress` (may be null) by one per picture. Throws DrawError for the first picture, in page
// order, whose drawing faults (before index.html is written), GalleryError for a file that cannot
// be written.
void writeGallery(const std::filesystem::path& folder, const std::vector<GalleryPicture>& pictures,
                  const GallerySettings& settings, int jobs, ProgressBar* progress);

// `text` with &, <, >, " and ' written as character references, for HTML text and attributes.
[[nodiscard]] std::string htmlEscape(std::string_view text);

}  // namespace vantu::cli
