// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
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

// One uniform polyhedron of the gallery's page of them.
struct GalleryPolyhedron {
    int number = 0;      // U1-U80
    std::string symbol;  // its Wythoff symbol, as the published list writes it
    // Its files' name without their endings: "U29", for U29.png (the sphere of its triangle, its
    // edges marked), U29.off and U29.glb (its model).
    std::string stem;
};

// The triangles of the gallery's page of plane triangles, in the usual notation: the three of the
// Euclidean plane, then ten of the hyperbolic plane, the fractional (5/2 4 4) last.
inline constexpr std::array<std::string_view, 13> planeTriangles = {
    "2 3 6", "2 4 4", "3 3 3", "2 3 7", "2 3 8", "2 3 9",  "2 4 5",
    "2 4 6", "3 3 4", "3 4 4", "4 4 4", "7 7 7", "5/2 4 4"};

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

// The pictures of the page of plane triangles: each of planeTriangles in the usual notation,
// stereographic (the Poincaré disk in the hyperbolic plane, the plane itself in the Euclidean).
[[nodiscard]] std::vector<GalleryPicture> galleryPlanes();

// The contact sheet of `pictures`: what every picture shares (R, the view, the size, the zoom
// and the antialias), a link to polyhedra.html with `linksPolyhedra` and to planes.html with
// `linksPlanes`, then one table row per
// code, in the order the codes first appear, with the label, the code, the three angles in
// degrees, their sum and the thumbnails, each a link to its picture, as large as fits in
// 160 x 120 in the pictures' own proportions. Plain HTML and CSS, no scripts.
[[nodiscard]] std::string galleryPage(const std::vector<GalleryPicture>& pictures,
                                      const GallerySettings& settings, bool linksPolyhedra = false,
                                      bool linksPlanes = false);

// The page of the plane triangles `planes` (galleryPlanes): what their pictures share, then one
// table row per triangle with its notation, the geometry and the group as its facts give them
// (factLines), and the thumbnail of its picture linked to the picture. Plain HTML and CSS, no
// scripts.
[[nodiscard]] std::string planesPage(const std::vector<GalleryPicture>& planes,
                                     const GallerySettings& settings);

// The uniform polyhedra of the published list that a Wythoff symbol gives (uniformSymbols), by
// number.
[[nodiscard]] std::vector<GalleryPolyhedron> galleryPolyhedra();

// The page of the uniform polyhedra `polyhedra`: what their pictures share (R, the view, the
// size, the zoom and the antialias), then one table row per polyhedron with its number, name,
// Wythoff symbol, vertices, edges, faces, faces by type, vertex configuration, Euler
// characteristic and density (polyhedronFacts), the thumbnail of its picture linked to the
// picture, and links to its OFF and glTF binary files. Plain HTML and CSS, no scripts. Throws
// DrawError for a symbol that does not build.
[[nodiscard]] std::string polyhedraPage(const std::vector<GalleryPolyhedron>& polyhedra,
                                        const GallerySettings& settings);

// The picture of a gallery polyhedron: the orthographic picture of the sphere of its symbol's
// triangle, with the settings' R, view, size and sampling, and the settings' marks and its edges
// (the generating point of its symbol) over it.
struct PolyhedronPicture {
    PictureDescription description;
    OverlayOptions marks;
};
[[nodiscard]] PolyhedronPicture polyhedronPicture(const GalleryPolyhedron& polyhedron,
                                                  const GallerySettings& settings);

// Renders every picture into `folder` (a LockedFolder: made when missing, through a symbolic
// link too, and locked meanwhile, so that a second gallery or turntable into it at the same time
// is refused at once) as a PNG, then every polyhedron of `polyhedra` as its picture and its
// models, then every picture of `planes` with the same marks but a polyhedron's edges, `work.jobs`
// at once (the progress advanced by one per picture or polyhedron), then writes polyhedra.html
// when there are polyhedra, planes.html when there are planes, and index.html (linking to them)
// last. Each file is written completely or not at all, and the pages of an earlier gallery in
// `folder` are removed first, so that a page is only ever beside the files it describes. Throws
// FolderError for a folder that cannot be made or is locked; GalleryError naming the first picture,
// in page order, whose drawing faults, and for an old page that cannot be removed; WriteError for a
// file that cannot be written, Interrupted and std::bad_alloc; the pages are then not written.
void writeGallery(const std::filesystem::path& folder, const std::vector<GalleryPicture>& pictures,
                  const GallerySettings& settings, const WorkOptions& work,
                  const std::vector<GalleryPolyhedron>& polyhedra = {},
                  const std::vector<GalleryPicture>& planes = {});

// `text` with &, <, >, " and ' written as character references, for HTML text and attributes.
[[nodiscard]] std::string htmlEscape(std::string_view text);

}  // namespace vantu::cli
