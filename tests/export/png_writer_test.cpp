// PNG files written row by row, completely or not at all: what they hold, read back, and what
// a failure leaves behind.

#include "export/png_writer.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/fine_picture.h"
#include "render/pixel_colour.h"
#include "setup/draw_request.h"
#include "tests/png_file.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;
using testing_support::DecodedPng;
using testing_support::readPng;

fs::path scratchFolder(const std::string& name) {
    const fs::path folder =
        fs::path(testing::TempDir()) / ("vantu-png-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The start-up picture at `sampling`, as a PNG's rows.
PngRows startUpRows(Sampling sampling) {
    const DrawSetup setup = prepareDrawing(DrawRequest{});
    auto picture = std::make_shared<FinePicture>(120.0, setup.pi, Projection::stereographic,
                                                 setup.normals, sampling);
    return [picture](int row, std::span<PackedColour> out) { picture->renderRow(row, out); };
}

std::vector<PackedColour> withGrey(std::vector<PackedColour> colours) {
    const std::array<PackedColour, colourCount> picture = pictureColours();
    colours.push_back(grey);
    colours.insert(colours.end(), picture.begin(), picture.end());
    return colours;
}

struct RoundTripCase {
    const char* name;
    PngFormat format;
    PngRows rows;
    friend void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }
};

class RoundTrip : public testing::TestWithParam<RoundTripCase> {};

// The file holds the rows pixel for pixel, as indexed colour with the palette given or as RGB,
// and nothing else is left in the folder.
TEST_P(RoundTrip, ReadsBackPixelForPixel) {
    const RoundTripCase& c = GetParam();
    const fs::path folder = scratchFolder(c.name);
    writePng(folder / "out.png", c.format, c.rows);
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
    testing::Values(
        RoundTripCase{
            "OnePixel", {1, 1, {grey}}, [](int, std::span<PackedColour> out) { out[0] = grey; }},
        RoundTripCase{"StartUpZoomTwoIndexed", {1280, 962, withGrey({})}, startUpRows({2, 1})},
        RoundTripCase{"StartUpAntialiasedRgb", {640, 481, {}}, startUpRows({1, 3})},
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
    writePng(path, tiny,
             [](int, std::span<PackedColour> out) { std::fill(out.begin(), out.end(), grey); });
}

struct FailureCase {
    const char* name;
    std::function<fs::path(const fs::path& folder)> target;
    PngRows rows;
    std::string message;  // "{}" stands for the target
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }
};

PngRows greyRows() {
    return [](int, std::span<PackedColour> out) { std::fill(out.begin(), out.end(), grey); };
}

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
        writePng(target, {40, 30, {grey}}, c.rows);
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
        FailureCase{"MissingFolder", [](const fs::path& f) { return f / "missing" / "x.png"; },
                    greyRows(), "cannot write '{}': No such file or directory"},
        FailureCase{"AFolder", [](const fs::path& f) { return f; }, greyRows(),
                    "cannot write '{}': Is a directory"},
        FailureCase{"FullDevice", [](const fs::path&) { return fs::path("/dev/full"); }, greyRows(),
                    "cannot write '{}': No space left on device"},
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
    writePng(link, {3, 2, {}},
             [](int, std::span<PackedColour> out) { std::fill(out.begin(), out.end(), 0x123456); });
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const DecodedPng png = readPng(file);
    EXPECT_EQ(png.width, 3);
    EXPECT_EQ(png.at(2, 1), 0x123456);
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"file.png", "link.png"}));
    fs::remove_all(folder);
}

// A file system of 16 KiB, mounted for the test and unmounted after it.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const fs::path& at) : m_at(at) {
        if (::mount("vantu-test", at.c_str(), "tmpfs", 0, "size=16k") != 0) {
            m_problem = std::strerror(errno);
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    ~SmallFileSystem() {
        if (m_problem.empty()) {
            ::umount2(m_at.c_str(), MNT_DETACH);
        }
    }
    [[nodiscard]] const std::string& problem() const { return m_problem; }

private:
    fs::path m_at;
    std::string m_problem;
};

// A full disk midway: the reason, the old picture whole, no temporary file left.
TEST(SmallFileSystem, FullMidwayKeepsTheOldFile) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    const fs::path folder = scratchFolder("full");
    const SmallFileSystem small(folder);
    if (!small.problem().empty()) {
        fs::remove_all(folder);
        GTEST_SKIP() << "cannot mount a tmpfs: " << small.problem();
    }
    const fs::path target = folder / "x.png";
    writeOld(target);
    const std::string before = slurp(target);
    // Noise does not compress: 200 x 200 RGB is about 120 KB.
    std::uint32_t noise = 1;
    EXPECT_THROW_MSG(writePng(target, {200, 200, {}},
                              [&](int, std::span<PackedColour> out) {
                                  for (PackedColour& c : out) {
                                      noise = noise * 1664525U + 1013904223U;
                                      c = static_cast<PackedColour>(noise >> 8U);
                                  }
                              }),
                     WriteError, "cannot write '" + target.string() + "': No space left on device");
    EXPECT_EQ(slurp(target), before);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"x.png"});
}

}  // namespace
}  // namespace vantu
