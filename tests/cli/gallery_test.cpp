// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The gallery: its pictures and their names, the contact sheet, and writing it all.

#include "cli/gallery.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <ostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/export.h"
#include "cli/output_folder.h"
#include "cli/progress.h"
#include "drawing/prepared_picture.h"
#include "geometry/draw_error.h"
#include "render/fine_picture.h"
#include "render/pixel_colour.h"
#include "setup/draw_request.h"
#include "setup/triangle_code.h"
#include "tests/png_file.h"
#include "tests/test_support.h"

namespace vantu::cli {
namespace {

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::filesystem::path scratch(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) /
                                      ("vantu-gallery-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(dir);
    return dir;
}

TEST(GalleryPictures, EveryCodeInEveryProjection) {
    const std::vector<GalleryPicture> plain = galleryPictures(false);
    ASSERT_EQ(plain.size(), 44U * 3U);
    EXPECT_EQ(plain.front().file, "300-r0-stereo.png");
    EXPECT_EQ(plain[1].file, "300-r0-gnome.png");
    EXPECT_EQ(plain[2].file, "300-r0-ortho.png");
    EXPECT_EQ(plain.back().file, "592-r0-ortho.png");
    for (const GalleryPicture& p : plain) {
        EXPECT_EQ(p.request.rotation, 0);
        EXPECT_FALSE(p.request.reverse);
    }

    const std::vector<GalleryPicture> all = galleryPictures(true);
    ASSERT_EQ(all.size(), 44U * 6U * 3U);
    std::set<std::string> names;
    std::set<std::tuple<std::string, int, bool, Projection>> cases;
    for (const GalleryPicture& p : all) {
        const DrawRequest& r = p.request;
        names.insert(p.file);
        cases.insert({r.triangleCode, r.rotation, r.reverse, r.projection});
    }
    EXPECT_EQ(names.size(), all.size()) << "file names repeat";
    EXPECT_EQ(cases.size(), all.size()) << "pictures repeat";
    EXPECT_EQ(all.back().file, "592-r2-rev-ortho.png");
}

struct EscapeCase {
    const char* name;
    const char* text;
    const char* escaped;
    friend void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }
};

class HtmlEscape : public testing::TestWithParam<EscapeCase> {};

TEST_P(HtmlEscape, WritesMarkupCharactersAsReferences) {
    EXPECT_EQ(htmlEscape(GetParam().text), GetParam().escaped);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HtmlEscape,
    testing::Values(EscapeCase{"Plain", "300 2/1:3/1:3/1", "300 2/1:3/1:3/1"},
                    EscapeCase{"Empty", "", ""},
                    EscapeCase{"Markup", "<b>&</b>", "&lt;b&gt;&amp;&lt;/b&gt;"},
                    EscapeCase{"Quotes", "\"a\" 'b'", "&quot;a&quot; &#39;b&#39;"},
                    EscapeCase{"AlreadyEscaped", "&amp;", "&amp;amp;"},
                    EscapeCase{"Utf8Unchanged", "\xC2\xB0", "\xC2\xB0"}),
    RowName());

TEST(GalleryPage, HasOneRowPerCodeWithAnglesSumAndThumbnails) {
    const std::vector<GalleryPicture> pictures = galleryPictures(true);
    GallerySettings settings;
    settings.scaleText = "<120 & more>";
    const std::string page = galleryPage(pictures, settings);

    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\n"));
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_FALSE(std::regex_search(page, std::regex("\\son[a-z]+\\s*="))) << "an event attribute";
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("R = &lt;120 &amp; more&gt;"), std::string::npos);

    // One row per code, header excluded, in catalogue order.
    const std::regex row(
        "<tr>\n<td>(\\d{3})</td><td><code>([^<]*)</code></td>"
        "<td class=\"number\">([^<]*)</td><td class=\"number\">([^<]*)</td>");
    std::vector<std::string> codes;
    std::vector<std::string> angles;
    std::vector<std::string> sums;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), row);
         it != std::sregex_iterator(); ++it) {
        EXPECT_EQ((*it)[1].str(), (*it)[2].str().substr(0, 3));
        codes.push_back((*it)[2]);
        angles.push_back((*it)[3]);
        sums.push_back((*it)[4]);
    }
    ASSERT_EQ(codes.size(), catalogue.size());
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        EXPECT_EQ(codes[i], catalogue[i]);
    }
    EXPECT_EQ(angles[0], "90&deg;, 60&deg;, 60&deg;");
    EXPECT_EQ(sums[0], "210&deg;");
    EXPECT_EQ(angles[10], "60&deg;, 135&deg;, 45&deg;");  // 411
    EXPECT_EQ(sums[10], "240&deg;");
    EXPECT_EQ(angles[36], "144&deg;, 144&deg;, 144&deg;");  // 571
    EXPECT_EQ(sums[36], "432&deg;");

    // Every picture once as a thumbnail linking to itself, in page order.
    const std::regex thumbnail(
        "<a href=\"([^\"]+)\"><img src=\"([^\"]+)\" width=\"160\" "
        "height=\"120\" alt=\"[^\"]+\"></a>");
    std::vector<std::string> files;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), thumbnail);
         it != std::sregex_iterator(); ++it) {
        EXPECT_EQ((*it)[1].str(), (*it)[2].str());
        files.push_back((*it)[2]);
    }
    ASSERT_EQ(files.size(), pictures.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(files[i], pictures[i].file);
    }
}

struct ThumbnailCase {
    const char* name;
    PictureSize size;
    double zoom;
    const char* thumbnail;  // its width and height in the page
    friend void PrintTo(const ThumbnailCase& c, std::ostream* os) { *os << c.name; }
};

class Thumbnails : public testing::TestWithParam<ThumbnailCase> {};

// Every thumbnail fits in 160 x 120 in its picture's own proportions, and the page says the
// view and the size the pictures share.
TEST_P(Thumbnails, KeepThePicturesProportions) {
    const ThumbnailCase& c = GetParam();
    GallerySettings settings;
    settings.shared.size = c.size;
    settings.shared.sampling.ratio = c.zoom;
    settings.shared.view = {30, -15, 0};
    const std::string page = galleryPage(galleryPictures(false), settings);
    const std::regex any("<img src=\"[^\"]+\"( width=\"\\d+\" height=\"\\d+\") alt=");
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), any);
         it != std::sregex_iterator(); ++it) {
        found.insert((*it)[1].str());
    }
    EXPECT_EQ(found, std::set<std::string>{" " + std::string(c.thumbnail)});
    EXPECT_NE(page.find("view 30&deg;, -15&deg;, 0&deg;, size " + std::to_string(c.size.width) +
                        " x " + std::to_string(c.size.height) + ", zoom "),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, Thumbnails,
    testing::Values(ThumbnailCase{"TheWindows", {640, 481}, 1, R"(width="160" height="120")"},
                    ThumbnailCase{"TallAtHalfZoom", {100, 1000}, 0.5, R"(width="12" height="120")"},
                    ThumbnailCase{"Wide", {1000, 100}, 2, R"(width="160" height="16")"},
                    ThumbnailCase{"Square", {1, 1}, 1, R"(width="120" height="120")"}),
    RowName());

// The legend after the table: each of the 21 colours once, as a swatch whose title says its
// hue, its cell and the order of its distances.
TEST(GalleryPage, EndsWithTheLegendOfEveryColour) {
    const std::string page = galleryPage(galleryPictures(false), GallerySettings{});
    const std::regex swatch(
        "<td><span class=\"swatch\" style=\"background: #([0-9a-f]{6})\" "
        "title=\"([^\"]+)\"></span>([a-z]+)</td>");
    std::set<PackedColour> colours;
    std::vector<std::string> titles;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), swatch);
         it != std::sregex_iterator(); ++it) {
        const auto rgb = static_cast<PackedColour>(std::stoi((*it)[1].str(), nullptr, 16));
        colours.insert(packColour((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
        titles.push_back((*it)[2]);
        EXPECT_TRUE(titles.back().starts_with((*it)[3].str() + ": ")) << titles.back();
    }
    const auto expected = pictureColours();
    EXPECT_EQ(colours, std::set<PackedColour>(expected.begin(), expected.end()));
    ASSERT_EQ(titles.size(), 21U);
    EXPECT_EQ(titles[0], "red: the triangle; D1 (vertex A) smallest, D2 (vertex B) largest");
    EXPECT_EQ(titles[19],
              "grey: across one mirror, or the antipode, drawn as across one; D1 = D2 = D3, "
              "where the six hues meet");
    EXPECT_GT(page.find("<h2>The colours</h2>"), page.find(std::string(catalogue.back())));
}

// A code with every permutation: the files are the pictures, whatever the thread count.
TEST(WriteGallery, WritesEveryPictureAndThePage) {
    std::vector<GalleryPicture> pictures;
    for (const GalleryPicture& p : galleryPictures(true)) {
        if (p.request.triangleCode == catalogue[10]) {
            pictures.push_back(p);
        }
    }
    ASSERT_EQ(pictures.size(), 18U);
    GallerySettings settings;
    const std::filesystem::path one = scratch("one");
    const std::filesystem::path two = scratch("two");
    ProgressBar silent(nullptr, "gallery", static_cast<long>(pictures.size()));
    writeGallery(one, pictures, settings, {1, &silent, {}});
    writeGallery(two, pictures, settings, {2, nullptr, {}});

    EXPECT_EQ(slurp(one / "index.html"), galleryPage(pictures, settings));
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(one)) {
        ++files;
        EXPECT_EQ(slurp(entry.path()), slurp(two / entry.path().filename()))
            << entry.path().filename();
    }
    EXPECT_EQ(files, pictures.size() + 1);

    // Each file is its picture: spot checks of whole rows.
    for (const std::size_t i : {std::size_t{0}, std::size_t{10}, std::size_t{17}}) {
        const GalleryPicture& p = pictures[i];
        const testing_support::DecodedPng image = testing_support::readPng((one / p.file).string());
        ASSERT_EQ(image.problem, "") << p.file;
        ASSERT_EQ(image.width, 640) << p.file;
        ASSERT_EQ(image.height, 481) << p.file;
        const DrawSetup setup = prepareDrawing(p.request);
        const FinePicture picture(120.0, setup.pi, p.request.projection, setup.normals, {1, 1});
        std::vector<PackedColour> row(640);
        for (int r = 0; r < 481; r += 60) {
            picture.renderRow(r, row);
            for (int c = 0; c < 640; ++c) {
                ASSERT_EQ(image.at(c, r), row[static_cast<std::size_t>(c)])
                    << p.file << " pixel (" << c << ", " << r << ")";
            }
        }
    }
    std::filesystem::remove_all(one);
    std::filesystem::remove_all(two);
}

// The uniform polyhedra, one row each with its facts, picture and files.
struct PolyhedronRowCase {
    const char* name;
    int number;
    const char* cells;  // the row's cells from the name to the density, "|" between them
    friend void PrintTo(const PolyhedronRowCase& c, std::ostream* os) { *os << c.name; }
};

class PolyhedraPageRows : public testing::TestWithParam<PolyhedronRowCase> {};

TEST_P(PolyhedraPageRows, SayTheFactsAndLinkThePictureAndFiles) {
    const PolyhedronRowCase& c = GetParam();
    const std::vector<GalleryPolyhedron> polyhedra = galleryPolyhedra();
    static const std::string page = polyhedraPage(polyhedra, GallerySettings{});
    EXPECT_EQ(page.find("<script"), std::string::npos);
    const std::regex row(
        "<tr>\n<td>U(\\d+)</td>((?:<td[^>]*>(?:<code>)?[^<]*(?:</code>)?</td>){9})\n<td>"
        "<a href=\"([^\"]+)\"><img src=\"([^\"]+)\" width=\"160\" height=\"120\" "
        "alt=\"[^\"]+\"></a></td>\n<td><a href=\"([^\"]+)\">OFF</a> <a href=\"([^\"]+)\">"
        "glTF</a></td>\n</tr>");
    std::vector<int> numbers;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), row);
         it != std::sregex_iterator(); ++it) {
        const int number = std::stoi((*it)[1]);
        numbers.push_back(number);
        const std::string stem = "U" + std::to_string(number);
        EXPECT_EQ((*it)[3].str(), stem + ".png");
        EXPECT_EQ((*it)[4].str(), stem + ".png");
        EXPECT_EQ((*it)[5].str(), stem + ".off");
        EXPECT_EQ((*it)[6].str(), stem + ".glb");
        if (number == c.number) {
            const std::string cells =
                std::regex_replace(std::regex_replace((*it)[2].str(), std::regex("</?code>"), ""),
                                   std::regex("</td><td[^>]*>|^<td[^>]*>|</td>$"), "|");
            EXPECT_EQ(cells, std::string("|") + c.cells + "|");
        }
    }
    ASSERT_EQ(numbers.size(), polyhedra.size());
    EXPECT_NE(std::find(numbers.begin(), numbers.end(), c.number), numbers.end());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_EQ(numbers[i], polyhedra[i].number);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Polyhedra, PolyhedraPageRows,
    testing::Values(
        PolyhedronRowCase{"Tetrahedron", 1, "tetrahedron|3 | 2 3|4|6|4|4 {3}|3.3.3|2|1"},
        PolyhedronRowCase{"Tetrahemihexahedron", 4,
                          "tetrahemihexahedron|3/2 3 | 2|6|12|7|4 {3}, 3 {4}|3.4.3.4|1|none"},
        PolyhedronRowCase{"SnubDodecahedron", 29,
                          "snub dodecahedron|| 2 3 5|60|150|92|80 {3}, 12 {5}|3.3.3.3.5|2|1"},
        PolyhedronRowCase{"GreatIcosahedron", 53,
                          "great icosahedron|5/2 | 2 3|12|30|20|20 {3}|3.3.3.3.3|2|7"},
        PolyhedronRowCase{"PentagrammicCrossedAntiprism", 80,
                          "pentagrammic crossed antiprism|| 2 2 5/3|10|20|12|10 {3}, 2 "
                          "{5/2}|3.3.3.5/2|2|3"}),
    RowName());

// A few polyhedra beside a code's pictures: each polyhedron's picture, OFF and glTF binary, the
// page of them and the contact sheet linking to it, whatever the thread count.
TEST(WriteGallery, WritesThePolyhedraTheirFilesAndTheirPage) {
    std::vector<GalleryPolyhedron> polyhedra;
    for (const GalleryPolyhedron& p : galleryPolyhedra()) {
        if (p.number == 1 || p.number == 29 || p.number == 53) {
            polyhedra.push_back(p);
        }
    }
    ASSERT_EQ(polyhedra.size(), 3U);
    std::vector<GalleryPicture> pictures = galleryPictures(false);
    pictures.resize(3);
    GallerySettings settings;
    const std::filesystem::path one = scratch("polyhedra-one");
    const std::filesystem::path two = scratch("polyhedra-two");
    writeGallery(one, pictures, settings, {1, nullptr, {}}, polyhedra);
    writeGallery(two, pictures, settings, {2, nullptr, {}}, polyhedra);

    EXPECT_EQ(slurp(one / "polyhedra.html"), polyhedraPage(polyhedra, settings));
    const std::string index = slurp(one / "index.html");
    EXPECT_EQ(index, galleryPage(pictures, settings, true));
    EXPECT_NE(index.find("<a href=\"polyhedra.html\">"), std::string::npos);
    EXPECT_EQ(galleryPage(pictures, settings).find("polyhedra.html"), std::string::npos);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(one)) {
        ++files;
        EXPECT_EQ(slurp(entry.path()), slurp(two / entry.path().filename()))
            << entry.path().filename();
    }
    EXPECT_EQ(files, pictures.size() + 3 * polyhedra.size() + 2);

    // The snub dodecahedron: its model, and the sphere of (2 3 5) with its edges over it.
    EXPECT_TRUE(slurp(one / "U29.off").starts_with("OFF\n"));
    EXPECT_TRUE(slurp(one / "U29.glb").starts_with("glTF"));
    const PolyhedronPicture shown = polyhedronPicture(polyhedra[1], settings);
    EXPECT_EQ(shown.description.request.triangleCode, "2 3 5");
    EXPECT_EQ(shown.description.request.projection, Projection::orthographic);
    const testing_support::DecodedPng image = testing_support::readPng((one / "U29.png").string());
    ASSERT_EQ(image.problem, "");
    const PreparedPicture marked(shown.description, shown.marks);
    const PreparedPicture plain(shown.description, {});
    ASSERT_EQ(image.width, marked.width());
    ASSERT_EQ(image.height, marked.height());
    std::vector<PackedColour> row(static_cast<std::size_t>(marked.width()));
    std::vector<PackedColour> bare(row.size());
    int edges = 0;
    for (int r = 0; r < marked.height(); r += 20) {
        (void)marked.renderRow(r, row);
        (void)plain.renderRow(r, bare);
        for (int c = 0; c < marked.width(); ++c) {
            ASSERT_EQ(image.at(c, r), row[static_cast<std::size_t>(c)])
                << "pixel (" << c << ", " << r << ")";
            edges += row[static_cast<std::size_t>(c)] != bare[static_cast<std::size_t>(c)] ? 1 : 0;
        }
    }
    EXPECT_GT(edges, 50) << "the edges marked";
    std::filesystem::remove_all(one);
    std::filesystem::remove_all(two);
}

// The plane triangles, one row each: the triangle, its geometry and group as --info words them,
// and its picture.
struct PlaneRowCase {
    const char* name;
    const char* triangle;
    const char* cells;  // the geometry and the group, "|" between them
    const char* file;
    friend void PrintTo(const PlaneRowCase& c, std::ostream* os) { *os << c.name; }
};

class PlanesPageRows : public testing::TestWithParam<PlaneRowCase> {};

TEST_P(PlanesPageRows, SayTheGeometryAndGroupAndLinkThePicture) {
    const PlaneRowCase& c = GetParam();
    const std::vector<GalleryPicture> planes = galleryPlanes();
    static const std::string page = planesPage(planes, GallerySettings{});
    EXPECT_EQ(page.find("<script"), std::string::npos);
    const std::regex row(
        "<tr>\n<td><code>\\(([^<]+)\\)</code></td><td>([^<]*)</td><td>([^<]*)</td>\n<td>"
        "<a href=\"([^\"]+)\"><img src=\"([^\"]+)\" width=\"160\" height=\"120\" "
        "alt=\"[^\"]+\"></a></td>\n</tr>");
    std::vector<std::string> triangles;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), row);
         it != std::sregex_iterator(); ++it) {
        const std::size_t i = triangles.size();
        triangles.push_back((*it)[1]);
        ASSERT_LT(i, planes.size());
        EXPECT_EQ((*it)[4].str(), planes[i].file);
        EXPECT_EQ((*it)[5].str(), planes[i].file);
        if ((*it)[1] == c.triangle) {
            EXPECT_EQ((*it)[2].str() + "|" + (*it)[3].str(), c.cells);
            EXPECT_EQ(planes[i].file, c.file);
        }
    }
    EXPECT_EQ(triangles, std::vector<std::string>(planeTriangles.begin(), planeTriangles.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Planes, PlanesPageRows,
    testing::Values(
        PlaneRowCase{"Hexagonal", "2 3 6",
                     "Euclidean|wallpaper; p6m, the group of the tiling by triangles (2 3 6)",
                     "2-3-6-r0-stereo.png"},
        PlaneRowCase{"Triangular", "3 3 3",
                     "Euclidean|wallpaper; p3m1, the group of the tiling by triangles (3 3 3)",
                     "3-3-3-r0-stereo.png"},
        PlaneRowCase{"Heptagonal", "2 3 7",
                     "hyperbolic|hyperbolic; the hyperbolic triangle group (2 3 7)",
                     "2-3-7-r0-stereo.png"},
        PlaneRowCase{"Fractional", "5/2 4 4",
                     "hyperbolic|hyperbolic; the hyperbolic triangle group (2 4 5)",
                     "5_2-4-4-r0-stereo.png"}),
    RowName());

// The planes beside a code's pictures, with the marks asked for: each plane's picture drawn
// with them but the polyhedron's edges, the page of them and the contact sheet linking to it,
// whatever the thread count.
TEST(WriteGallery, WritesThePlaneTrianglesAndTheirPage) {
    const std::vector<GalleryPicture> all = galleryPlanes();
    const std::vector<GalleryPicture> planes = {all[0], all[3], all.back()};
    std::vector<GalleryPicture> pictures = galleryPictures(false);
    pictures.resize(1);
    GallerySettings settings;
    settings.marks.mirrors = true;
    settings.marks.groupMirrors = true;
    settings.marks.polyhedron = true;
    OverlayOptions planeMarks = settings.marks;
    planeMarks.polyhedron = false;
    const std::filesystem::path one = scratch("planes-one");
    const std::filesystem::path two = scratch("planes-two");
    writeGallery(one, pictures, settings, {1, nullptr, {}}, {}, planes);
    writeGallery(two, pictures, settings, {2, nullptr, {}}, {}, planes);

    EXPECT_EQ(slurp(one / "planes.html"), planesPage(planes, settings));
    const std::string index = slurp(one / "index.html");
    EXPECT_EQ(index, galleryPage(pictures, settings, false, true));
    EXPECT_NE(index.find("<a href=\"planes.html\">"), std::string::npos);
    EXPECT_EQ(galleryPage(pictures, settings, true).find("planes.html"), std::string::npos);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(one)) {
        ++files;
        EXPECT_EQ(slurp(entry.path()), slurp(two / entry.path().filename()))
            << entry.path().filename();
    }
    EXPECT_EQ(files, pictures.size() + planes.size() + 2);

    for (const GalleryPicture& p : planes) {
        const testing_support::DecodedPng image = testing_support::readPng((one / p.file).string());
        ASSERT_EQ(image.problem, "") << p.file;
        PictureDescription description = settings.shared;
        description.request = p.request;
        const PreparedPicture picture(description, planeMarks);
        ASSERT_EQ(image.width, picture.width()) << p.file;
        std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
        for (int r = 0; r < picture.height(); r += 40) {
            (void)picture.renderRow(r, row);
            for (int c = 0; c < picture.width(); ++c) {
                ASSERT_EQ(image.at(c, r), row[static_cast<std::size_t>(c)])
                    << p.file << " pixel (" << c << ", " << r << ")";
            }
        }
    }
    std::filesystem::remove_all(one);
    std::filesystem::remove_all(two);
}

// A polyhedron that cannot be drawn is named by its picture; no page is left, the polyhedra's
// of an earlier gallery neither.
TEST(WriteGallery, StopsAtAPolyhedronsFaultWithoutAPage) {
    GallerySettings settings;
    settings.scaleText = "0";
    settings.shared.request.scale = 0.0;
    const std::filesystem::path dir = scratch("polyhedron-fault");
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "index.html") << "an earlier gallery";
    std::ofstream(dir / "polyhedra.html") << "an earlier gallery's polyhedra";
    std::ofstream(dir / "planes.html") << "an earlier gallery's planes";
    try {
        writeGallery(dir, {}, settings, {2, nullptr, {}}, galleryPolyhedra(), galleryPlanes());
        ADD_FAILURE() << "no GalleryError";
    } catch (const GalleryError& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("cannot draw '" + (dir / "U1.png").string() +
                                                      "': the scale R is 0"))
            << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "index.html"));
    EXPECT_FALSE(std::filesystem::exists(dir / "polyhedra.html"));
    EXPECT_FALSE(std::filesystem::exists(dir / "planes.html"));
    EXPECT_FALSE(std::filesystem::exists(dir / "U1.png"));
    // A plane triangle's fault names its picture likewise.
    std::ofstream(dir / "planes.html") << "an earlier gallery's planes";
    EXPECT_THROW_MSG(writeGallery(dir, {}, settings, {2, nullptr, {}}, {}, galleryPlanes()),
                     GalleryError,
                     "cannot draw '" + (dir / "2-3-6-r0-stereo.png").string() +
                         "': the scale R is 0: division by zero in row 0");
    EXPECT_FALSE(std::filesystem::exists(dir / "planes.html"));
    std::filesystem::remove_all(dir);
}

// A fault names the first picture, and the page of an earlier gallery in the folder, which
// would describe other pictures, is gone.
TEST(WriteGallery, StopsAtTheFirstFaultWithoutAPage) {
    const std::vector<GalleryPicture> pictures = galleryPictures(false);
    GallerySettings settings;
    settings.scaleText = "0";
    settings.shared.request.scale = 0.0;
    const std::filesystem::path dir = scratch("fault");
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "index.html") << "an earlier gallery";
    EXPECT_THROW_MSG(writeGallery(dir, pictures, settings, {2, nullptr, {}}), GalleryError,
                     "cannot draw '" + (dir / pictures[0].file).string() +
                         "': the scale R is 0: division by zero in row 0");
    EXPECT_FALSE(std::filesystem::exists(dir / "index.html"));
    EXPECT_FALSE(std::filesystem::exists(dir / pictures[0].file));
    std::filesystem::remove_all(dir);
}

TEST(WriteGallery, ReportsAFolderItCannotMake) {
    const std::filesystem::path file = scratch("file");
    std::ofstream(file) << "not a folder";
    const std::vector<GalleryPicture> pictures = galleryPictures(false);
    try {
        writeGallery(file / "inner", pictures, GallerySettings{}, {1, nullptr, {}});
        ADD_FAILURE() << "no FolderError";
    } catch (const FolderError& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("cannot create the folder '" +
                                                      (file / "inner").string() + "': "))
            << e.what();
    }
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace vantu::cli
