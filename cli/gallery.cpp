// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/gallery.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <system_error>
#include <vector>

#include "cli/export.h"
#include "cli/interruption.h"
#include "cli/output_folder.h"
#include "drawing/prepared_picture.h"
#include "export/model_file.h"
#include "export/output_file.h"
#include "export/picture_writer.h"
#include "geometry/draw_error.h"
#include "geometry/text.h"
#include "polyhedron/polyhedron_facts.h"
#include "polyhedron/wythoff.h"
#include "render/colour_legend.h"
#include "render/sample_grid.h"
#include "setup/draw_request.h"
#include "setup/triangle_code.h"
#include "setup/triangle_facts.h"
#include "setup/triangle_notation.h"

namespace vantu::cli {

std::vector<GalleryPicture> galleryPictures(bool permutations) {
    std::vector<GalleryPicture> pictures;
    for (const std::string_view code : catalogue) {
        for (int rotation = 0; rotation < (permutations ? 3 : 1); ++rotation) {
            for (const bool reverse : {false, true}) {
                if (reverse && !permutations) {
                    continue;
                }
                for (const auto& [projection, name] : sphereProjectionNames) {
                    GalleryPicture& p = pictures.emplace_back();
                    p.request.triangleCode = std::string(code);
                    p.request.rotation = rotation;
                    p.request.reverse = reverse;
                    p.request.projection = projection;
                    p.file = pictureFileName(p.request);
                }
            }
        }
    }
    return pictures;
}

std::vector<GalleryPicture> galleryPlanes() {
    std::vector<GalleryPicture> planes;
    for (const std::string_view triangle : planeTriangles) {
        GalleryPicture& p = planes.emplace_back();
        p.request.triangleCode = std::string(triangle);
        p.request.notation = TriangleNotation::schwarz;
        p.request.projection = Projection::stereographic;
        p.file = pictureFileName(p.request);
    }
    return planes;
}

std::vector<GalleryPolyhedron> galleryPolyhedra() {
    std::vector<GalleryPolyhedron> polyhedra;
    for (const ListedSymbol& listed : uniformSymbols()) {
        polyhedra.push_back(
            {listed.number, std::string(listed.symbol), "U" + std::to_string(listed.number)});
    }
    return polyhedra;
}

PolyhedronPicture polyhedronPicture(const GalleryPolyhedron& polyhedron,
                                    const GallerySettings& settings) {
    const WythoffSymbol symbol = parseWythoffSymbol(polyhedron.symbol);
    PolyhedronPicture shown{settings.shared, settings.marks};
    DrawRequest& request = shown.description.request;
    request = symbolTriangle(symbol);
    request.scale = settings.shared.request.scale;
    // The sphere as it is seen from outside, as a solid is.
    request.projection = Projection::orthographic;
    shown.marks.polyhedron = true;
    shown.marks.generatingPoint = symbolPoint(wythoffTriangle(request), symbol);
    return shown;
}

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

namespace detail {
namespace {

// The box a thumbnail fits in, in CSS pixels: the window's picture, a quarter of its width.
constexpr int thumbnailBoxWidth = 160;
constexpr int thumbnailBoxHeight = 120;

// The size, in CSS pixels, of the thumbnail of a picture of `width` x `height` pixels: as large
// as fits in the box, in the picture's own proportions, at least a pixel on a side.
PictureSize thumbnailSize(int width, int height) {
    const auto w = static_cast<std::int64_t>(width);
    const auto h = static_cast<std::int64_t>(height);
    // Rounded to the nearest pixel, half up.
    if (w * thumbnailBoxHeight <= h * thumbnailBoxWidth) {
        return {
            static_cast<int>(std::max<std::int64_t>(1, (2 * thumbnailBoxHeight * w + h) / (2 * h))),
            thumbnailBoxHeight};
    }
    return {thumbnailBoxWidth,
            static_cast<int>(std::max<std::int64_t>(1, (2 * thumbnailBoxWidth * h + w) / (2 * w)))};
}

std::string caption(const DrawRequest& r) {
    return "r" + std::to_string(r.rotation) + (r.reverse ? " rev " : " ") +
           std::string(projectionName(r.projection));
}

std::string description(const DrawRequest& r) {
    return r.triangleCode + ", rotation " + std::to_string(r.rotation) +
           (r.reverse ? ", reverse, " : ", ") + std::string(projectionName(r.projection));
}

// The beginning of a page of the gallery, its title its first heading.
std::string pageHead(std::string_view title) {
    return R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>)" + std::string(title) +
           R"(</title>
<style>
body { font-family: sans-serif; margin: 1.5em; color: #222; background: #fafafa; }
table { border-collapse: collapse; }
th, td { padding: 0.4em 0.8em; border-bottom: 1px solid #ccc; text-align: left;
         vertical-align: middle; }
td.number { white-space: nowrap; text-align: right; }
.pictures { display: flex; flex-wrap: wrap; gap: 0.6em; }
figure { margin: 0; text-align: center; font-size: 0.8em; }
img { display: block; border: 1px solid #999; }
.swatch { display: inline-block; width: 2.5em; height: 1.2em; margin-right: 0.5em;
          border: 1px solid #999; vertical-align: middle; }
</style>
</head>
<body>
<h1>)" + std::string(title) +
           "</h1>\n";
}

// What every picture of the gallery shares: "R = 120, view 0&deg;, ..., antialias 1".
std::string sharedWords(const GallerySettings& settings) {
    const PictureDescription& shared = settings.shared;
    const View& view = shared.view;
    return "R = " + htmlEscape(settings.scaleText) + ", view " + formatNumber(view.lon) +
           "&deg;, " + formatNumber(view.lat) + "&deg;, " + formatNumber(view.roll) +
           "&deg;, size " + std::to_string(shared.size.width) + " x " +
           std::to_string(shared.size.height) + ", zoom " + formatNumber(shared.sampling.ratio) +
           ", antialias " + std::to_string(shared.sampling.antialias);
}

// A thumbnail linked to its picture `file`, as large as fits in the box, described by `alt`.
std::string thumbnail(const std::string& file, const GallerySettings& settings,
                      const std::string& alt) {
    const SampleGrid grid(settings.shared.size, settings.shared.sampling);
    const PictureSize size = thumbnailSize(grid.width(), grid.height());
    const std::string name = htmlEscape(file);
    return "<a href=\"" + name + "\"><img src=\"" + name + "\" width=\"" +
           std::to_string(size.width) + "\" height=\"" + std::to_string(size.height) + "\" alt=\"" +
           htmlEscape(alt) + "\"></a>";
}

// Draws one picture of the gallery with `marks` into its file in `folder`, complete or not at all.
void writeGalleryPicture(const std::filesystem::path& folder, const GalleryPicture& p,
                         const GallerySettings& settings, const OverlayOptions& marks) {
    PictureDescription description = settings.shared;
    description.request = p.request;
    description.request.scale = settings.shared.request.scale;
    const PreparedPicture picture(description, marks);
    OutputFile file = OutputFile::replacing(folder / p.file);
    renderInto(picture, PictureType::png, file);
    file.commit();
}

// Draws one polyhedron of the gallery into its picture and writes its models, in `folder`, each
// file complete or not at all.
void writeGalleryPolyhedron(const std::filesystem::path& folder, const GalleryPolyhedron& p,
                            const GallerySettings& settings) {
    const PolyhedronPicture shown = polyhedronPicture(p, settings);
    const PreparedPicture picture(shown.description, shown.marks);
    OutputFile file = OutputFile::replacing(folder / (p.stem + ".png"));
    renderInto(picture, PictureType::png, file);
    file.commit();
    const Polyhedron polyhedron =
        buildPolyhedron(wythoffTriangle(shown.description.request), shown.marks.generatingPoint);
    for (const char* ending : {".off", ".glb"}) {
        writeModel(folder / (p.stem + ending), polyhedron);
    }
}

// The value of the line "`key`: value" of `lines` (factLines).
std::string factValue(const std::string& lines, std::string_view key) {
    const std::string start = std::string(key) + ": ";
    std::size_t at = lines.starts_with(start) ? 0 : lines.find("\n" + start);
    if (at == std::string::npos) {
        return {};
    }
    at = lines.find(": ", at) + 2;
    return lines.substr(at, lines.find('\n', at) - at);
}

// A colour as HTML writes it: "#rrggbb".
std::string htmlColour(PackedColour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(colour), greenOf(colour),
                  blueOf(colour));
    return text;
}

// The legend of the colours: a row per hue, a column per brightness, each colour's meaning in
// words (colourMeaning).
std::string legendSection() {
    const auto meanings = legend();
    std::string html =
        "<h2>The colours</h2>\n<p>A colour's brightness tells the cell its point "
        "lies in, its hue which of D1, D2, D3 is the smallest and which the "
        "largest. " +
        htmlEscape(distanceNote) + ".</p>\n<table class=\"legend\">\n<thead><tr><th>Hue</th>";
    for (int k = 3; k >= 1; --k) {
        html += "<th>" + htmlEscape(sideCountWords(k)) + "</th>";
    }
    html += "</tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < meanings.size(); i += 3) {
        html += "<tr><td>" + htmlEscape(meanings[i].order) + "</td>";
        for (std::size_t j = i; j < i + 3; ++j) {
            const ColourMeaning& m = meanings[j];
            html += "<td><span class=\"swatch\" style=\"background: " + htmlColour(m.colour) +
                    "\" title=\"" + htmlEscape(meaningWords(m)) + "\"></span>" +
                    htmlEscape(m.name) + "</td>";
        }
        html += "</tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

}  // namespace
}  // namespace detail

std::string galleryPage(const std::vector<GalleryPicture>& pictures,
                        const GallerySettings& settings, bool linksPolyhedra, bool linksPlanes) {
    std::vector<std::string_view> codes;
    for (const GalleryPicture& p : pictures) {
        if (std::find(codes.begin(), codes.end(), p.request.triangleCode) == codes.end()) {
            codes.push_back(p.request.triangleCode);
        }
    }
    std::string page = detail::pageHead("Vantu: the catalogue");
    page += "<p>" + std::to_string(codes.size()) + " triangle codes, " +
            detail::sharedWords(settings) + ". Each picture links to its full size.</p>\n";
    if (linksPolyhedra) {
        page +=
            "<p><a href=\"polyhedra.html\">The uniform polyhedra</a>: each one's name, Wythoff "
            "symbol and counts, the sphere of its triangle with its edges marked, and its "
            "files.</p>\n";
    }
    if (linksPlanes) {
        page +=
            "<p><a href=\"planes.html\">The plane triangles</a>: triangles of the Euclidean and "
            "the hyperbolic plane, each with its geometry and group.</p>\n";
    }
    page +=
        "<table>\n<thead><tr><th>Label</th><th>Code</th><th>Angles</th><th>Sum</th>"
        "<th>Pictures</th></tr></thead>\n<tbody>\n";
    for (const std::string_view code : codes) {
        // The angles in degrees as the drawing reads them.
        const CodeAngles angles = codeAngles(code);
        page += "<tr>\n<td>" + htmlEscape(code.substr(0, 3)) + "</td><td><code>" +
                htmlEscape(code) + "</code></td><td class=\"number\">" + formatDegrees(angles[0]) +
                "&deg;, " + formatDegrees(angles[1]) + "&deg;, " + formatDegrees(angles[2]) +
                "&deg;</td><td class=\"number\">" +
                formatDegrees(angles[0] + angles[1] + angles[2]) +
                "&deg;</td>\n<td><div class=\"pictures\">\n";
        for (const GalleryPicture& p : pictures) {
            if (p.request.triangleCode != code) {
                continue;
            }
            page += "<figure>" +
                    detail::thumbnail(p.file, settings, detail::description(p.request)) +
                    "<figcaption>" + htmlEscape(detail::caption(p.request)) +
                    "</figcaption></figure>\n";
        }
        page += "</div></td>\n</tr>\n";
    }
    page += "</tbody>\n</table>\n" + detail::legendSection() + "</body>\n</html>\n";
    return page;
}

std::string polyhedraPage(const std::vector<GalleryPolyhedron>& polyhedra,
                          const GallerySettings& settings) {
    std::string page = detail::pageHead("Vantu: the uniform polyhedra");
    page += "<p>" + std::to_string(polyhedra.size()) +
            " uniform polyhedra of the published list (Coxeter, Longuet-Higgins and Miller, "
            "1954), each built from its Wythoff symbol. Each picture is the sphere of the "
            "symbol's triangle, orthographic, with the polyhedron's edges marked: the "
            "polyhedron seen from the centre; " +
            detail::sharedWords(settings) +
            ". Each picture links to its full size; the files are the polyhedron's model, OFF "
            "with a colour per face type and glTF binary. <a href=\"index.html\">The "
            "catalogue</a>.</p>\n";
    page +=
        "<table>\n<thead><tr><th>Number</th><th>Name</th><th>Symbol</th><th>Vertices</th>"
        "<th>Edges</th><th>Faces</th><th>Faces by type</th><th>Vertex configuration</th>"
        "<th>Euler characteristic</th><th>Density</th><th>Picture</th><th>Files</th></tr>"
        "</thead>\n<tbody>\n";
    const auto number = [](int n) { return "<td class=\"number\">" + std::to_string(n) + "</td>"; };
    for (const GalleryPolyhedron& p : polyhedra) {
        const PolyhedronFacts facts =
            polyhedronFacts(buildPolyhedron(parseWythoffSymbol(p.symbol)));
        const std::string name = facts.name ? facts.name->name : std::string();
        const std::string label = "U" + std::to_string(p.number);
        page += "<tr>\n<td>" + label + "</td><td>" + htmlEscape(name) + "</td><td><code>" +
                htmlEscape(p.symbol) + "</code></td>" + number(facts.vertices) +
                number(facts.edges) + number(facts.faces) + "<td>" +
                htmlEscape(faceCountText(facts.faceCounts)) + "</td><td>" +
                htmlEscape(facts.vertexConfiguration) + "</td>" + number(facts.euler) +
                (facts.density ? number(*facts.density) : "<td>none</td>") + "\n<td>" +
                detail::thumbnail(p.stem + ".png", settings,
                                  label + " " + name + ", " + p.symbol + ", its edges marked") +
                "</td>\n<td><a href=\"" + htmlEscape(p.stem) + ".off\">OFF</a> <a href=\"" +
                htmlEscape(p.stem) + ".glb\">glTF</a></td>\n</tr>\n";
    }
    page += "</tbody>\n</table>\n</body>\n</html>\n";
    return page;
}

std::string planesPage(const std::vector<GalleryPicture>& planes, const GallerySettings& settings) {
    std::string page = detail::pageHead("Vantu: the plane triangles");
    page += "<p>" + std::to_string(planes.size()) +
            " triangles whose angles sum to 180&deg; or less, each in the usual notation: in the "
            "Euclidean plane when the sum is 180&deg;, drawn as the plane itself, and in the "
            "hyperbolic plane when it is less, drawn in the Poincar&eacute; disk; " +
            detail::sharedWords(settings) +
            ". Each picture links to its full size. <a href=\"index.html\">The "
            "catalogue</a>.</p>\n";
    page +=
        "<table>\n<thead><tr><th>Triangle</th><th>Geometry</th><th>Group</th><th>Picture</th>"
        "</tr></thead>\n<tbody>\n";
    for (const GalleryPicture& p : planes) {
        const std::string facts = factLines(triangleFacts(p.request));
        const std::string triangle = "(" + p.request.triangleCode + ")";
        page +=
            "<tr>\n<td><code>" + htmlEscape(triangle) + "</code></td><td>" +
            htmlEscape(detail::factValue(facts, "geometry")) + "</td><td>" +
            htmlEscape(detail::factValue(facts, "group")) + "</td>\n<td>" +
            detail::thumbnail(p.file, settings,
                              triangle + ", " + std::string(projectionName(p.request.projection))) +
            "</td>\n</tr>\n";
    }
    page += "</tbody>\n</table>\n</body>\n</html>\n";
    return page;
}

void writeGallery(const std::filesystem::path& folder, const std::vector<GalleryPicture>& pictures,
                  const GallerySettings& settings, const WorkOptions& work,
                  const std::vector<GalleryPolyhedron>& polyhedra,
                  const std::vector<GalleryPicture>& planes) {
    const LockedFolder lock(folder);
    // The pages of an earlier gallery go first: until this one is whole, no page describes
    // files that may be another gallery's.
    const std::filesystem::path index = folder / "index.html";
    const std::filesystem::path polyhedraIndex = folder / "polyhedra.html";
    const std::filesystem::path planesIndex = folder / "planes.html";
    for (const std::filesystem::path& old : {index, polyhedraIndex, planesIndex}) {
        std::error_code error;
        std::filesystem::remove(old, error);
        if (error) {
            throw GalleryError("cannot remove the old page '" + escapeText(pathText(old)) +
                               "': " + error.message());
        }
    }

    // The pictures, then the polyhedra, then the planes. The first failure in page order wins;
    // items after it are not started. Each item is rendered and written by one thread, so a job
    // holds one row and one encoder.
    const std::size_t count = pictures.size();
    const std::size_t solids = count + polyhedra.size();
    // The planes take every mark asked for but a polyhedron's edges: polyhedra are the sphere's.
    OverlayOptions planeMarks = settings.marks;
    planeMarks.polyhedron = false;
    if (const auto failure = runInterruptibly(
            {solids + planes.size(), 0, work, {}}, [&](std::size_t i, std::size_t /*slot*/) {
                if (i < count) {
                    detail::writeGalleryPicture(folder, pictures[i], settings, settings.marks);
                } else if (i < solids) {
                    detail::writeGalleryPolyhedron(folder, polyhedra[i - count], settings);
                } else {
                    detail::writeGalleryPicture(folder, planes[i - solids], settings, planeMarks);
                }
            })) {
        try {
            std::rethrow_exception(failure->error);
        } catch (const DrawError& e) {
            const std::size_t i = failure->index;
            const std::string file = i < count    ? pictures[i].file
                                     : i < solids ? polyhedra[i - count].stem + ".png"
                                                  : planes[i - solids].file;
            throw GalleryError("cannot draw '" + escapeText(pathText(folder / file)) +
                               "': " + e.what());
        }
    }

    // The pages of the polyhedra and the planes before the page that links to them.
    const auto writePage = [](const std::filesystem::path& path, const std::string& page) {
        OutputFile file = OutputFile::replacing(path);
        file.write(std::as_bytes(std::span(page)));
        file.commit();
    };
    if (!polyhedra.empty()) {
        writePage(polyhedraIndex, polyhedraPage(polyhedra, settings));
    }
    if (!planes.empty()) {
        writePage(planesIndex, planesPage(planes, settings));
    }
    writePage(index, galleryPage(pictures, settings, !polyhedra.empty(), !planes.empty()));
}

}  // namespace vantu::cli
