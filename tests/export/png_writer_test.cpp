// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// PNG files written row by row, completely or not at all: what they hold, read back, and what
// a failure leaves behind.

#include "export/png_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/picture_writer.h"
#include "tests/png_file.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;
using testing_support::DecodedPng;
using testing_support::namesIn;
using testing_support::readPng;
using testing_support::scratchFolder;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct RoundTripCase {
    const char* name;
    PngFormat format;
    PictureRows rows;
    friend void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }
};

class RoundTrip : public testing::TestWithParam<RoundTripCase> {};

// The file holds the rows pixel for pixel, as indexed colour with the palette given or as RGB,
// and nothing else is left in the folder.
TEST_P(RoundTrip, ReadsBackPixelForPixel) {
    const RoundTripCase& c = GetParam();
    const fs::path folder = scratchFolder(c.name);
    writePicture(folder / "out.png", PictureType::png, c.format, c.rows);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"out.png"});

    const DecodedPng png = readPng(folder / "out.png");
    ASSERT_EQ(png.problem, "");
    ASSERT_EQ(png.width, c.format.width);
    ASSERT_EQ(png.height, c.format.height);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.colourType,
              c.format.palette.empty() ? SPNG_COLOR_TYPE_TRUECOLOR : SPNG_COLOR_TYPE_INDEXED);
    EXPECT_EQ(png.palette, c.format.palette);
    std::vector<PackedColour> row(static_cast<std::size_t>(c.format.width));
    for (int r = 0; r < c.format.height; ++r) {
        c.rows(r, row);
        for (int col = 0; col < c.format.width; ++col) {
            ASSERT_EQ(png.at(col, r), row[static_cast<std::size_t>(col)]) << col << ", " << r;
        }
    }
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, RoundTrip,
    testing::Values(RoundTripCase{"OnePixel",
                                  {1, 1, {grey}},
                                  [](int, std::span<PackedColour> out) { out[0] = grey; }},
                    RoundTripCase{"EveryChannelValueRgb",
                                  {256, 3, {}},
                                  [](int row, std::span<PackedColour> out) {
                                      for (std::size_t i = 0; i < out.size(); ++i) {
                                          const auto v = static_cast<PackedColour>(i);
                                          out[i] = v << (8 * row);
                                      }
                                  }},
                    RoundTripCase{"FullPaletteInItsOrder",
                                  {256, 2,
                                   [] {
                                       std::vector<PackedColour> p;
                                       for (PackedColour i = 255; i >= 0; --i) {
                                           p.push_back(i * 65793);
                                       }
                                       return p;
                                   }()},
                                  [](int row, std::span<PackedColour> out) {
                                      for (std::size_t i = 0; i < out.size(); ++i) {
                                          out[i] = static_cast<PackedColour>(
                                                       (i + static_cast<std::size_t>(row)) % 256) *
                                                   65793;
                                      }
                                  }}),
    RowName());

// A PNG with an old picture, to be kept when a new one fails.
const PngFormat tiny{2, 2, {grey}};
void writeOld(const fs::path& path) {
    writePicture(path, PictureType::png, tiny,
                 [](int, std::span<PackedColour> out) { std::fill(out.begin(), out.end(), grey); });
}

struct FailureCase {
    const char* name;
    std::function<fs::path(const fs::path& folder)> target;
    PictureRows rows;
    std::string message;  // "{}" stands for the target
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }
};

class Failure : public testing::TestWithParam<FailureCase> {};

// The message names the file and gives the reason; the old file, if any, is whole and nothing
// else is left beside it.
TEST_P(Failure, LeavesTheOldFileAndNoOther) {
    const FailureCase& c = GetParam();
    const fs::path folder = scratchFolder(c.name);
    const fs::path target = c.target(folder);
    const bool old = target.parent_path() == folder && !fs::is_directory(target);
    if (old) {
        writeOld(target);
    }
    const std::string before = old ? slurp(target) : "";
    const std::vector<std::string> namesBefore = namesIn(folder);
    std::string message = c.message;
    if (const std::size_t at = message.find("{}"); at != std::string::npos) {
        message.replace(at, 2, target.string());
    }
    try {
        writePicture(target, PictureType::png, {40, 30, {grey}}, c.rows);
        ADD_FAILURE() << "nothing thrown";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
    EXPECT_EQ(namesIn(folder), namesBefore);
    if (old) {
        EXPECT_EQ(slurp(target), before);
    }
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, Failure,
    testing::Values(
        FailureCase{"RowsFail", [](const fs::path& f) { return f / "x.png"; },
                    [](int row, std::span<PackedColour> out) {
                        if (row == 20) {
                            throw std::runtime_error("row 20 failed");
                        }
                        std::fill(out.begin(), out.end(), grey);
                    },
                    "row 20 failed"},
        FailureCase{"ColourNotInThePalette", [](const fs::path& f) { return f / "x.png"; },
                    [](int, std::span<PackedColour> out) { std::fill(out.begin(), out.end(), 7); },
                    "the colour 7 is not in the palette"}),
    RowName());

// A replaced file keeps its permissions, and a symbolic link keeps pointing to the new picture.
TEST(Replacing, KeepsPermissionsAndSymbolicLinks) {
    const fs::path folder = scratchFolder("replacing");
    const fs::path file = folder / "file.png";
    const fs::path link = folder / "link.png";
    writeOld(file);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("file.png", link);
    writePicture(link, PictureType::png, {3, 2, {}}, [](int, std::span<PackedColour> out) {
        std::fill(out.begin(), out.end(), 0x123456);
    });
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const DecodedPng png = readPng(file);
    EXPECT_EQ(png.width, 3);
    EXPECT_EQ(png.at(2, 1), 0x123456);
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"file.png", "link.png"}));
    fs::remove_all(folder);
}

}  // namespace
}  // namespace vantu
