// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The picture rendered on several threads and streamed, row after row, into a PNG.

#include "cli/export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "export/output_file.h"
#include "geometry/draw_error.h"
#include "render/image_sink.h"
#include "render/render_picture.h"
#include "setup/draw_request.h"
#include "tests/png_file.h"
#include "tests/test_support.h"

namespace vantu::cli {
namespace {

namespace fs = std::filesystem;

// The start-up picture in `projection` at `sampling`, R being `scale`.
PreparedPicture startUp(Projection projection, Sampling sampling, double scale = 120.0) {
    PictureDescription description;
    description.request.projection = projection;
    description.request.scale = scale;
    description.sampling = sampling;
    return PreparedPicture(description);
}

fs::path scratchFile(const std::string& name) {
    return fs::path(testing::TempDir()) /
           ("vantu-export-" + std::to_string(::getpid()) + "-" + name + ".png");
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Writes `picture` to `path` on `jobs` threads.
void exportTo(const fs::path& path, const PreparedPicture& picture, int jobs) {
    OutputFile file = OutputFile::replacing(path);
    ExportSettings settings;
    settings.work.jobs = jobs;
    exportPicture(picture, file, settings);
    file.commit();
}

struct ThreadCase {
    const char* name;
    Projection projection;
    Sampling sampling;
    int colourType;  // what the file holds: a palette without antialias, else RGB
    friend void PrintTo(const ThreadCase& c, std::ostream* os) { *os << c.name; }
};

class ExportPicture : public testing::TestWithParam<ThreadCase> {};

// The file decodes to the picture's own rows, pixel for pixel, and is the same file for every
// thread count.
TEST_P(ExportPicture, IsThePictureWhateverTheThreadCount) {
    const ThreadCase& c = GetParam();
    const PreparedPicture picture = startUp(c.projection, c.sampling);
    const fs::path path = scratchFile(c.name);
    exportTo(path, picture, 1);
    const testing_support::DecodedPng png = testing_support::readPng(path.string());
    ASSERT_EQ(png.problem, "");
    EXPECT_EQ(png.colourType, c.colourType);
    EXPECT_EQ(png.bitDepth, 8);
    ASSERT_EQ(png.width, picture.width());
    ASSERT_EQ(png.height, picture.height());
    std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
    for (int r = 0; r < picture.height(); ++r) {
        (void)picture.renderRow(r, row);
        for (int col = 0; col < picture.width(); ++col) {
            ASSERT_EQ(png.at(col, r), row[static_cast<std::size_t>(col)])
                << "pixel (" << col << ", " << r << ")";
        }
    }
    const std::string one = slurp(path);
    for (const int jobs : {2, 3, 8}) {
        exportTo(path, picture, jobs);
        EXPECT_TRUE(slurp(path) == one) << jobs << " threads";
    }
    fs::remove(path);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, ExportPicture,
    testing::Values(
        ThreadCase{
            "StereographicZoomTwo", Projection::stereographic, {2, 1}, SPNG_COLOR_TYPE_INDEXED},
        ThreadCase{
            "GnomonicAntialiasThree", Projection::gnomonic, {1, 3}, SPNG_COLOR_TYPE_TRUECOLOR},
        ThreadCase{
            "OrthographicBoth", Projection::orthographic, {2, 2}, SPNG_COLOR_TYPE_TRUECOLOR}),
    RowName());

// Zoom 1 is the window's picture, whatever the thread count.
TEST(ExportAtZoomOne, IsTheWindowPicture) {
    const PreparedPicture picture = startUp(Projection::stereographic, {1, 1});
    ImageSink sink;
    renderPicture(120.0, picture.setup().pi, Projection::stereographic, picture.setup().normals,
                  sink);
    const fs::path path = scratchFile("window");
    exportTo(path, picture, 2);
    const testing_support::DecodedPng png = testing_support::readPng(path.string());
    ASSERT_EQ(png.problem, "");
    for (int row = 0; row < pictureHeight; ++row) {
        for (int col = 0; col < pictureWidth; ++col) {
            ASSERT_EQ(png.at(col, row), sink.at(col, row))
                << "pixel (" << col << ", " << row << ")";
        }
    }
    fs::remove(path);
}

// A fault, in the first row or further down, stops the picture with the window's error, and
// the file it was to replace stays as it was.
TEST(ExportFaults, KeepTheWindowsErrorAndTheOldFile) {
    const fs::path path = scratchFile("fault");
    std::ofstream(path) << "an older picture";
    for (const int jobs : {1, 3}) {
        const PreparedPicture picture = startUp(Projection::gnomonic, {2, 2}, 0.0);
        EXPECT_THROW_MSG(exportTo(path, picture, jobs), DrawError,
                         "the scale R is 0: division by zero in row 0");
        EXPECT_EQ(slurp(path), "an older picture") << jobs << " threads";
    }
    fs::remove(path);
}

}  // namespace
}  // namespace vantu::cli
