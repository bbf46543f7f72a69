// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/fine_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "geometry/draw_error.h"
#include "render/image_sink.h"
#include "render/render_picture.h"
#include "render/scan.h"
#include "setup/draw_request.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;

DrawSetup setupOf(const char* code) {
    return prepareDrawing(drawRequest(code));
}

std::vector<PackedColour> fineRow(const FinePicture& picture, int row) {
    std::vector<PackedColour> out(static_cast<std::size_t>(picture.width()));
    picture.renderRow(row, out);
    return out;
}

std::vector<PackedColour> windowPicture(double scale, Projection projection,
                                        const DrawSetup& setup) {
    ImageSink sink;
    renderPicture(scale, setup.pi, projection, setup.normals, sink);
    return sink.pixels();
}

const char* caseName(Projection p) {
    switch (p) {
        case Projection::gnomonic:
            return "Gnomonic";
        case Projection::stereographic:
            return "Stereographic";
        case Projection::orthographic:
        case Projection::halfplane:
            break;
    }
    return "Orthographic";
}

struct ViewCase {
    std::string name;
    const char* code;
    double scale;
    Projection projection;
    friend void PrintTo(const ViewCase& c, std::ostream* os) { *os << c.name; }
};

std::vector<ViewCase> viewCases() {
    std::vector<ViewCase> cases;
    for (const Projection p :
         {Projection::stereographic, Projection::gnomonic, Projection::orthographic}) {
        const std::string name = caseName(p);
        cases.push_back({name + "StartUp", "300 2/1:3/1:3/1", 120.0, p});
        cases.push_back({name + "TurnedHalfWay", "311 3/2:3/2:3/2", -120.0, p});
        cases.push_back({name + "OddScale", "543 5/3:3/2:5/4", 37.3, p});
    }
    return cases;
}

class ZoomOne : public testing::TestWithParam<ViewCase> {};

// One sample per window pixel is the window's picture, bit for bit.
TEST_P(ZoomOne, IsTheWindowPicture) {
    const ViewCase& c = GetParam();
    const DrawSetup setup = setupOf(c.code);
    const std::vector<PackedColour> window = windowPicture(c.scale, c.projection, setup);
    const FinePicture picture(c.scale, setup.pi, c.projection, setup.normals, {1, 1});
    ASSERT_EQ(picture.width(), pictureWidth);
    ASSERT_EQ(picture.height(), pictureHeight);
    for (int row = 0; row < pictureHeight; ++row) {
        const std::vector<PackedColour> fine = fineRow(picture, row);
        for (int col = 0; col < pictureWidth; ++col) {
            ASSERT_EQ(fine[static_cast<std::size_t>(col)],
                      window[static_cast<std::size_t>(row * pictureWidth + col)])
                << "pixel (" << col << ", " << row << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Views, ZoomOne, testing::ValuesIn(viewCases()), RowName());

class OddZoom : public testing::TestWithParam<ViewCase> {};

// With an odd zoom K the middle output pixel of each K x K block samples the window pixel's own
// centre, so it has the window pixel's colour exactly. Every 12th window row, all columns.
TEST_P(OddZoom, CentresOfTheBlocksAreTheWindowPixels) {
    const ViewCase& c = GetParam();
    const DrawSetup setup = setupOf(c.code);
    const std::vector<PackedColour> window = windowPicture(c.scale, c.projection, setup);
    for (const int zoom : {3, 5}) {
        const FinePicture picture(c.scale, setup.pi, c.projection, setup.normals,
                                  {static_cast<double>(zoom), 1});
        ASSERT_EQ(picture.width(), pictureWidth * zoom);
        ASSERT_EQ(picture.height(), pictureHeight * zoom);
        for (int row = 0; row < pictureHeight; row += 12) {
            const std::vector<PackedColour> fine = fineRow(picture, zoom * row + zoom / 2);
            for (int col = 0; col < pictureWidth; ++col) {
                ASSERT_EQ(fine[static_cast<std::size_t>(zoom * col + zoom / 2)],
                          window[static_cast<std::size_t>(row * pictureWidth + col)])
                    << "zoom " << zoom << ", window pixel (" << col << ", " << row << ")";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Views, OddZoom, testing::ValuesIn(viewCases()), RowName());

// Antialias N at zoom K samples the same points as zoom K * N, and averages each N x N block.
struct BlockCase {
    const char* name;
    Projection projection;
    int zoom;
    int antialias;
    friend void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.name; }
};

class Antialias : public testing::TestWithParam<BlockCase> {};

TEST_P(Antialias, IsTheMeanOfTheFinerZoom) {
    const BlockCase& c = GetParam();
    const DrawSetup setup = setupOf("300 2/1:3/1:3/1");
    const int n = c.antialias;
    const FinePicture smooth(120.0, setup.pi, c.projection, setup.normals,
                             {static_cast<double>(c.zoom), n});
    const FinePicture finer(120.0, setup.pi, c.projection, setup.normals,
                            {static_cast<double>(c.zoom * n), 1});
    int mixed = 0;
    for (int row = 0; row < smooth.height(); row += 37) {
        std::vector<std::vector<PackedColour>> block;
        for (int b = 0; b < n; ++b) {
            block.push_back(fineRow(finer, row * n + b));
        }
        const std::vector<PackedColour> got = fineRow(smooth, row);
        for (int col = 0; col < smooth.width(); ++col) {
            int red = 0;
            int green = 0;
            int blue = 0;
            for (int a = 0; a < n; ++a) {
                for (int b = 0; b < n; ++b) {
                    const PackedColour s =
                        block[static_cast<std::size_t>(b)][static_cast<std::size_t>(col * n + a)];
                    red += redOf(s);
                    green += greenOf(s);
                    blue += blueOf(s);
                }
            }
            const PackedColour expected = detail::meanColour(red, green, blue, n * n);
            ASSERT_EQ(got[static_cast<std::size_t>(col)], expected)
                << "output pixel (" << col << ", " << row << ")";
            mixed += (expected != block[0][static_cast<std::size_t>(col * n)]) ? 1 : 0;
        }
    }
    EXPECT_GT(mixed, 0) << "no boundary was smoothed";
}

INSTANTIATE_TEST_SUITE_P(
    Samplings, Antialias,
    testing::Values(BlockCase{"TwoStereographic", Projection::stereographic, 1, 2},
                    BlockCase{"ThreeAtZoomTwoGnomonic", Projection::gnomonic, 2, 3},
                    BlockCase{"EightOrthographic", Projection::orthographic, 1, 8}),
    RowName());

// Where the samples sit, in window coordinates.
struct CoordinateCase {
    const char* name;
    int index;
    int perPixel;
    double coordinate;
    friend void PrintTo(const CoordinateCase& c, std::ostream* os) { *os << c.name; }
};

class SampleCoordinate : public testing::TestWithParam<CoordinateCase> {};

TEST_P(SampleCoordinate, SubdividesTheWindowPixel) {
    const CoordinateCase& c = GetParam();
    EXPECT_EQ(detail::sampleCoordinate(c.index, c.perPixel), c.coordinate);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleCoordinate,
                         testing::Values(CoordinateCase{"OnePerPixelFirst", 0, 1, 0.0},
                                         CoordinateCase{"OnePerPixelLast", 639, 1, 639.0},
                                         CoordinateCase{"TwoPerPixelLeft", 0, 2, -0.25},
                                         CoordinateCase{"TwoPerPixelRight", 1, 2, 0.25},
                                         CoordinateCase{"FourPerPixelFirst", 0, 4, -0.375},
                                         CoordinateCase{"FourPerPixelLastOfFirst", 3, 4, 0.375},
                                         CoordinateCase{"FourPerPixelFirstOfSecond", 4, 4, 0.625},
                                         CoordinateCase{"ThreePerPixelMiddle", 7, 3, 2.0},
                                         CoordinateCase{"SixteenPerPixelLast", 10239, 16,
                                                        639.46875}),
                         RowName());

struct MeanCase {
    const char* name;
    int red;
    int green;
    int blue;
    int count;
    PackedColour mean;
    friend void PrintTo(const MeanCase& c, std::ostream* os) { *os << c.name; }
};

class MeanColour : public testing::TestWithParam<MeanCase> {};

TEST_P(MeanColour, RoundsEachChannelHalfUp) {
    const MeanCase& c = GetParam();
    EXPECT_EQ(detail::meanColour(c.red, c.green, c.blue, c.count), c.mean);
}

INSTANTIATE_TEST_SUITE_P(
    Sums, MeanColour,
    testing::Values(MeanCase{"One", 255, 1, 170, 1, 255 + 256 * 1 + 65536 * 170},
                    MeanCase{"HalfRoundsUp", 255 + 0, 85 + 0, 1 + 0, 2, 128 + 256 * 43 + 65536 * 1},
                    MeanCase{"BelowHalfRoundsDown", 2 * 255 + 7 * 1, 0, 9 * 170, 9,
                             57 + 256 * 0 + 65536 * 170},
                    MeanCase{"AllWhite", 64 * 255, 64 * 255, 64 * 255, 64, 16777215}),
    RowName());

// Faults are those of the window's picture: same kind, same message, same row and column.
struct FaultCase {
    std::string name;
    double scale;
    Projection projection;
    Sampling sampling;
    friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }
};

std::vector<FaultCase> faultCases() {
    struct Scale {
        const char* name;
        double value;
    };
    const Scale scales[] = {{"Zero", 0.0},
                            {"NegativeZero", -0.0},
                            {"Subnormal", 1e-320},
                            {"SquareOverflows", 1e-300},
                            {"ColumnOverflows", 1e-152}};
    const Sampling samplings[] = {{1, 1}, {2, 1}, {1, 3}, {4, 2}};
    std::vector<FaultCase> cases;
    for (const Scale& s : scales) {
        for (const Projection p :
             {Projection::stereographic, Projection::gnomonic, Projection::orthographic}) {
            for (const Sampling& m : samplings) {
                cases.push_back({std::string(s.name) + caseName(p) + "Zoom" +
                                     std::to_string(static_cast<int>(m.ratio)) + "Antialias" +
                                     std::to_string(m.antialias),
                                 s.value, p, m});
            }
        }
    }
    return cases;
}

class FineFaults : public testing::TestWithParam<FaultCase> {};

TEST_P(FineFaults, AreTheWindowPicturesFaults) {
    const FaultCase& c = GetParam();
    const DrawSetup setup = setupOf("300 2/1:3/1:3/1");
    ImageSink sink;
    std::optional<DrawError> window;
    try {
        renderPicture(c.scale, setup.pi, c.projection, setup.normals, sink);
    } catch (const DrawError& e) {
        window = e;
    }
    ASSERT_TRUE(window.has_value()) << "the window's picture has no fault";
    ASSERT_EQ(window->row(), 0);

    const FinePicture picture(c.scale, setup.pi, c.projection, setup.normals, c.sampling);
    std::vector<PackedColour> out(static_cast<std::size_t>(picture.width()));
    try {
        picture.renderRow(0, out);
        ADD_FAILURE() << "no fault";
    } catch (const DrawError& e) {
        EXPECT_EQ(std::string(e.what()), std::string(window->what()));
        EXPECT_EQ(e.kind(), window->kind());
        EXPECT_EQ(e.stage(), FaultStage::scan);
        EXPECT_EQ(e.row(), window->row());
        EXPECT_EQ(e.column(), window->column());
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, FineFaults, testing::ValuesIn(faultCases()), RowName());

// A screen's device pixel ratio: the size it gives, and the window pixel under each device
// pixel; an integer ratio is the zoom of the same number, bit for bit.
struct RatioCase {
    const char* name;
    double ratio;
    int width;
    int height;
    int lastColumnsWindowPixel;
    friend void PrintTo(const RatioCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceRatio : public testing::TestWithParam<RatioCase> {};

TEST_P(DeviceRatio, CoversTheWindowPicture) {
    const RatioCase& c = GetParam();
    const DrawSetup setup = setupOf("300 2/1:3/1:3/1");
    const FinePicture picture(120.0, setup.pi, Projection::stereographic, setup.normals,
                              Sampling{c.ratio});
    EXPECT_EQ(picture.width(), c.width);
    EXPECT_EQ(picture.height(), c.height);
    EXPECT_EQ(windowPixelOf(0, c.ratio), 0);
    EXPECT_EQ(windowPixelOf(c.width - 1, c.ratio), c.lastColumnsWindowPixel);
    EXPECT_EQ(windowPixelOf(c.height - 1, c.ratio), pictureHeight - 1);
    const int zoom = static_cast<int>(c.ratio);
    if (zoom == c.ratio) {
        const FinePicture zoomed(120.0, setup.pi, Projection::stereographic, setup.normals,
                                 {static_cast<double>(zoom), 1});
        for (int row = 0; row < picture.height(); row += 53) {
            EXPECT_EQ(fineRow(picture, row), fineRow(zoomed, row)) << "row " << row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ratios, DeviceRatio,
                         testing::Values(RatioCase{"One", 1.0, 640, 481, 639},
                                         RatioCase{"OneAndAQuarter", 1.25, 800, 601, 639},
                                         RatioCase{"OneAndAHalf", 1.5, 960, 721, 639},
                                         RatioCase{"OneAndThreeQuarters", 1.75, 1120, 842, 639},
                                         RatioCase{"Two", 2.0, 1280, 962, 639},
                                         RatioCase{"Three", 3.0, 1920, 1443, 639}),
                         RowName());

struct BadSamplingCase {
    const char* name;
    Sampling sampling;
    const char* message;
    friend void PrintTo(const BadSamplingCase& c, std::ostream* os) { *os << c.name; }
};

class BadSampling : public testing::TestWithParam<BadSamplingCase> {};

TEST_P(BadSampling, IsRejected) {
    const BadSamplingCase& c = GetParam();
    const DrawSetup setup = setupOf("300 2/1:3/1:3/1");
    EXPECT_THROW_MSG(
        FinePicture(120.0, setup.pi, Projection::stereographic, setup.normals, c.sampling),
        std::invalid_argument, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Samplings, BadSampling,
    testing::Values(
        BadSamplingCase{"ZoomZero", {0, 1}, "the pixel ratio must be 0.25 to 16, not 0"},
        BadSamplingCase{"ZoomSeventeen", {17, 1}, "the pixel ratio must be 0.25 to 16, not 17"},
        BadSamplingCase{"AntialiasZero", {1, 0}, "the antialias must be 1 to 8, not 0"},
        BadSamplingCase{"AntialiasNine", {1, 9}, "the antialias must be 1 to 8, not 9"}),
    RowName());

// At a device pixel ratio, a fault names the window pixel, as the window's own picture does.
TEST(DeviceRatioFaults, NameTheWindowPixel) {
    const DrawSetup setup = setupOf("300 2/1:3/1:3/1");
    for (const double ratio : {1.5, 2.0}) {
        for (const auto& [scale, projection] : {std::pair{0.0, Projection::stereographic},
                                                std::pair{1e-152, Projection::orthographic},
                                                std::pair{1e-300, Projection::gnomonic}}) {
            ImageSink sink;
            std::string window;
            try {
                renderPicture(scale, setup.pi, projection, setup.normals, sink);
            } catch (const DrawError& e) {
                window = e.what();
            }
            const FinePicture picture(scale, setup.pi, projection, setup.normals, Sampling{ratio});
            SCOPED_TRACE("ratio " + std::to_string(ratio));
            EXPECT_THROW_MSG((void)fineRow(picture, 0), DrawError, window);
        }
    }
}

TEST(BadSampling, RatioOutOfRangeIsRejected) {
    const DrawSetup setup = setupOf("300 2/1:3/1:3/1");
    for (const double ratio : {0.0, 0.2, 17.0, std::nan("")}) {
        EXPECT_THROW(
            FinePicture(120.0, setup.pi, Projection::stereographic, setup.normals, Sampling{ratio}),
            std::invalid_argument)
            << ratio;
    }
}

TEST(FinePictureRows, OutsideThePictureOrTooShortAreRejected) {
    const DrawSetup setup = setupOf("300 2/1:3/1:3/1");
    const FinePicture picture(120.0, setup.pi, Projection::stereographic, setup.normals, {2, 1});
    std::vector<PackedColour> out(static_cast<std::size_t>(picture.width()));
    EXPECT_THROW_MSG(picture.renderRow(-1, out), std::out_of_range,
                     "row -1 is outside the picture");
    EXPECT_THROW_MSG(picture.renderRow(962, out), std::out_of_range,
                     "row 962 is outside the picture");
    std::vector<PackedColour> shortRow(static_cast<std::size_t>(picture.width() - 1));
    EXPECT_THROW_MSG(picture.renderRow(0, shortRow), std::out_of_range,
                     "the row needs room for 1280 pixels");
    EXPECT_NO_THROW(picture.renderRow(961, out));
}

}  // namespace
}  // namespace vantu
