// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The fast kernels against the exact computation: every variant this processor runs gives the
// same pictures, the fast pass leaves the checked path to faults, and the pictures are the plain
// reference implementation's, with its correctly rounded functions, sample for sample.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <iostream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "drawing/draw_procedure.h"
#include "render/fine_picture.h"
#include "render/kernel_variant.h"
#include "render/kernels.h"
#include "setup/draw_request.h"
#include "setup/triangle_code.h"
#include "tests/picture_support.h"
#include "tests/reference_render.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;

#if defined(__SANITIZE_ADDRESS__)
constexpr int thinning = 4;  // the instrumented build compares fewer rows
#else
constexpr int thinning = 1;
#endif

std::vector<KernelVariant> variantsHere() {
    std::vector<KernelVariant> here;
    for (const KernelVariant k : builtKernelVariants()) {
        if (runsHere(k)) {
            here.push_back(k);
        }
    }
    return here;
}

struct Request {
    std::string code;
    int rotation = 0;
    bool reverse = false;
    double scale = 120.0;
    Projection projection = Projection::stereographic;
    Sampling sampling;
};

// How the picture of a Request is framed: the view and the size.
struct Frame {
    View view;
    PictureSize size;
};

DrawRequest drawRequestOf(const Request& r) {
    return drawRequest(r.code)
        .rotation(r.rotation)
        .reverse(r.reverse)
        .scale(r.scale)
        .projection(r.projection);
}

// The set-up of the picture, with the view's turn.
DrawSetup setupOf(const Request& r, const Frame& frame = {}) {
    return turnedSetup(prepareDrawing(drawRequestOf(r)), frame.view);
}

// The same picture in each variant this processor runs, the best one first.
std::vector<FinePicture> pictures(const Request& r, const Frame& frame = {}) {
    const DrawSetup setup = setupOf(r, frame);
    std::vector<FinePicture> all;
    for (const KernelVariant k : variantsHere()) {
        all.emplace_back(r.scale, setup.pi, r.projection, setup.normals, r.sampling, frame.size);
        all.back().useKernels(k);
    }
    return all;
}

struct VariantCase {
    const char* name;
    Request request;
    double mostExact;  // the largest share of samples the exact computation may decide
    friend void PrintTo(const VariantCase& c, std::ostream* os) { *os << c.name; }
};

class KernelVariants : public testing::TestWithParam<VariantCase> {};

// Also: the fast pass raises no spurious fault flag, which would send the whole row to the
// checked path, so only the samples near a tie take the exact path.
TEST_P(KernelVariants, AgreeBitForBitAndLeaveOnlyTiesToTheExactPath) {
    const VariantCase& c = GetParam();
    std::vector<FinePicture> all = pictures(c.request);
    ASSERT_FALSE(all.empty());
    const int width = all.front().width();
    std::vector<PackedColour> expected(static_cast<std::size_t>(width));
    std::vector<PackedColour> got(expected.size());
    std::vector<long> exact(all.size(), 0);
    long samples = 0;
    for (int row = 0; row < all.front().height();
         row += 4 * static_cast<int>(c.request.sampling.ratio)) {
        exact[0] += all[0].renderRow(row, expected);
        samples +=
            static_cast<long>(width) * c.request.sampling.antialias * c.request.sampling.antialias;
        for (std::size_t v = 1; v < all.size(); ++v) {
            exact[v] += all[v].renderRow(row, got);
            ASSERT_EQ(got, expected) << "row " << row << ", variant " << v;
        }
    }
    for (std::size_t v = 0; v < all.size(); ++v) {
        EXPECT_EQ(exact[v], exact[0]) << "variant " << v;
        EXPECT_LE(static_cast<double>(exact[v]), c.mostExact * static_cast<double>(samples))
            << "variant " << v << ": " << exact[v] << " of " << samples << " samples exact";
    }
}

const char* const startUp = "300 2/1:3/1:3/1";
const char* const equalAngles = "311 3/2:3/2:3/2";

INSTANTIATE_TEST_SUITE_P(
    Pictures, KernelVariants,
    testing::Values(
        VariantCase{
            "StartUpStereo", {startUp, 0, false, 120.0, Projection::stereographic, {1, 1}}, 0.0},
        VariantCase{"StartUpGnome", {startUp, 0, false, 120.0, Projection::gnomonic, {1, 1}}, 0.0},
        VariantCase{"OrthographicTies",
                    {equalAngles, 1, true, 37.25, Projection::orthographic, {3, 2}},
                    0.01},
        VariantCase{"TiesOfTheEqualAngles",
                    {equalAngles, 0, false, 120.0, Projection::stereographic, {1, 1}},
                    0.01},
        VariantCase{
            "TiesAtZoomThree", {equalAngles, 0, false, 64.0, Projection::gnomonic, {3, 1}}, 0.01},
        VariantCase{"AntialiasedTinyScale",
                    {"543 5/3:3/2:5/4", 2, false, 1e-3, Projection::stereographic, {1, 3}},
                    0.01},
        VariantCase{"NegativeScale",
                    {"412 3/2:4/3:4/3", 1, true, -97.5, Projection::stereographic, {1, 1}},
                    0.01},
        // Every pixel shows nearly the centre, where the equal angles tie: all exact.
        VariantCase{"HugeScaleAllTies",
                    {equalAngles, 0, false, 1e300, Projection::stereographic, {1, 1}},
                    1.0}),
    RowName());

reference::Map mapOf(Projection p) {
    switch (p) {
        case Projection::gnomonic:
            return reference::Map::gnomonic;
        case Projection::stereographic:
            return reference::Map::stereographic;
        case Projection::orthographic:
        case Projection::halfplane:
            break;
    }
    return reference::Map::orthographic;
}

std::array<std::array<double, 3>, 3> plainNormals(const Mirrors& n) {
    return {{{n[0].x, n[0].y, n[0].z}, {n[1].x, n[1].y, n[1].z}, {n[2].x, n[2].y, n[2].z}}};
}

// Which samples of a picture to compare with the reference: in rows first, first + step, ...,
// every sampleStep-th sample and every sample near a tie (beyond 64 in a row, every 16th).
struct Samples {
    int first = 0;
    int step = 1;
    int sampleStep = 1;
};

// Compares the chosen output pixels of the picture of `r`, in every variant, with the reference;
// with antialias n, the reference's n x n samples of each, averaged channel by channel and
// rounded half up. Returns the number of output pixels compared.
long compareWithReference(const Request& r, const Samples& chosen, const Frame& frame = {}) {
    const DrawSetup setup = prepareDrawing(drawRequestOf(r));
    std::vector<FinePicture> all = pictures(r, frame);
    // The reference turns the normals by the view itself.
    const View& view = frame.view;
    const auto normals =
        reference::turned(plainNormals(setup.normals), view.lon, view.lat, view.roll, setup.pi);
    const reference::Centre centre = reference::centreOf(frame.size.width, frame.size.height);
    const reference::Map map = mapOf(r.projection);
    const int n = r.sampling.antialias;
    const double perSample = r.sampling.ratio * n;
    const auto coordinate = [perSample](int index) { return (index + 0.5) / perSample - 0.5; };
    // Whether a sample of output pixel (col, row) lies near a tie, quickly.
    const auto nearTie = [&](int col, int row) {
        for (int a = 0; a < n; ++a) {
            for (int b = 0; b < n; ++b) {
                if (reference::nearTie(coordinate(col * n + a), coordinate(row * n + b), r.scale,
                                       map, normals, centre)) {
                    return true;
                }
            }
        }
        return false;
    };
    // Output pixel (col, row) as the reference colours it, -1 for a fault.
    const auto colourAt = [&](int col, int row) {
        int sums[3] = {0, 0, 0};
        for (int a = 0; a < n; ++a) {
            for (int b = 0; b < n; ++b) {
                const std::optional<int> c =
                    reference::pixel(coordinate(col * n + a), coordinate(row * n + b), r.scale,
                                     setup.pi, map, normals, centre);
                if (!c) {
                    return -1;
                }
                sums[0] += *c & 0xFF;
                sums[1] += (*c >> 8) & 0xFF;
                sums[2] += (*c >> 16) & 0xFF;
            }
        }
        const int count = n * n;
        const auto mean = [count](int sum) { return (sum + count / 2) / count; };
        return mean(sums[0]) + 256 * mean(sums[1]) + 65536 * mean(sums[2]);
    };
    const int width = all.front().width();
    std::vector<PackedColour> got(static_cast<std::size_t>(width));
    std::vector<std::pair<int, PackedColour>> expected;
    long compared = 0;
    for (int row = chosen.first; row < all.front().height(); row += chosen.step) {
        expected.clear();
        int nearTies = 0;
        for (int col = 0; col < width; ++col) {
            const bool tie = nearTie(col, row) && (++nearTies <= 64 || nearTies % 16 == 0);
            if (col % chosen.sampleStep == 0 || tie) {
                expected.emplace_back(col, colourAt(col, row));
            }
        }
        for (const FinePicture& p : all) {
            p.renderRow(row, got);
            for (const auto& [col, colour] : expected) {
                if (got[static_cast<std::size_t>(col)] != colour) {
                    ADD_FAILURE() << r.code << " rotation " << r.rotation << " reverse "
                                  << r.reverse << " R " << r.scale << " projection "
                                  << static_cast<int>(r.projection) << " zoom " << r.sampling.ratio
                                  << " view " << view.lon << "," << view.lat << "," << view.roll
                                  << " size " << frame.size.width << "x" << frame.size.height
                                  << ": sample (" << col << ", " << row << ")";
                    return compared;
                }
            }
        }
        compared += static_cast<long>(expected.size());
    }
    return compared;
}

// Every catalogue code under each of the six permutations in each projection, the scales
// cycling through tiny, huge, negative, powers of two and others, the zoom through 1 to 5; in
// four rows of each picture, 160 samples and every sample near a tie.
TEST(FastScanExactness, AgreesWithThePlainImplementationOverTheCatalogue) {
    const double scales[] = {120.0, 1e-3, 1e9, -75.0, 64.0, 0.5, 37.25, 1e6, -0.125, 200.0};
    const Projection projections[] = {Projection::stereographic, Projection::gnomonic,
                                      Projection::orthographic};
    long compared = 0;
    int configurations = 0;
    for (std::size_t code = 0; code < catalogue.size(); ++code) {
        for (int permutation = 0; permutation < 6; ++permutation) {
            for (const Projection projection : projections) {
                const int zoom = 1 + configurations % 5;
                const Request r{
                    std::string(catalogue[code]), permutation % 3, permutation >= 3,
                    scales[configurations % 10],  projection,      {static_cast<double>(zoom), 1}};
                const int height = pictureHeight * zoom;
                compared += compareWithReference(
                    r, {(configurations * 97) % (height / 4), height / 4, 4 * zoom * thinning});
                ++configurations;
            }
        }
    }
    std::cout << "compared " << compared << " samples of " << configurations
              << " pictures with the reference, in " << variantsHere().size() << " variants\n";
}

// Turned views and any size: every catalogue code, through a spread of views (none, quarter
// turns, tiny angles, 720 degrees, negative and mixed ones), the three projections, sizes from
// 1 x 1 to 1921 x 1081, zooms 1 to 3 and antialias 1 and 2, against the reference, which turns
// the normals, centres the plane and averages the samples itself.
TEST(FastScanExactness, AgreesWithThePlainImplementationInEveryViewAndSize) {
    const View views[] = {{0, 0, 0},    {90, 0, 0},       {0, -90, 0},    {180, 90, 270},
                          {1e-9, 0, 0}, {0, 1e-9, -1e-9}, {720, 0, 0},    {-37.5, 12.25, -200},
                          {30, 45, 60}, {-720, 360, 90},  {0, 0, 1e-300}, {123.456, -78.9, 0.5}};
    const PictureSize sizes[] = {{1, 1},     {2, 2},   {3, 5},       {640, 481},
                                 {641, 480}, {64, 49}, {1921, 1081}, {7, 1201}};
    const Projection projections[] = {Projection::stereographic, Projection::gnomonic,
                                      Projection::orthographic};
    long compared = 0;
    int configurations = 0;
    for (std::size_t code = 0; code < catalogue.size(); ++code) {
        for (const View& view : views) {
            const Projection projection = projections[configurations % 3];
            const PictureSize size = sizes[configurations % 8];
            const double zoom = 1 + configurations % 3;
            const Request r{std::string(catalogue[code]),
                            configurations % 3,
                            configurations % 2 == 1,
                            std::min(size.width, size.height) / 4.0 + 0.5,
                            projection,
                            {zoom, 1 + configurations / 3 % 2}};
            const int height = devicePixels(size.height, zoom);
            const int rows = std::max(1, height / 3);
            compared +=
                compareWithReference(r,
                                     {(configurations * 31) % rows, rows,
                                      std::max(1, devicePixels(size.width, zoom) / 160) * thinning},
                                     {view, size});
            ++configurations;
        }
    }
    std::cout << "compared " << compared << " pixels of " << configurations
              << " turned pictures of any size with the reference, in " << variantsHere().size()
              << " variants\n";
}

// The hard cases: the equal-angle triangle puts exact ties of two distances on sample centres
// at every scale, where the last bit of a sine decides the colour, and the other equal-angle
// codes and powers of two come close. Each is compared in every sample near a tie and every
// 16th sample of every row.
TEST(FastScanExactness, AgreesWithThePlainImplementationWhereTiesAre) {
    const Request hard[] = {
        {equalAngles, 0, false, 120.0, Projection::stereographic, {1, 1}},
        {equalAngles, 0, false, 97.5, Projection::stereographic, {1, 1}},
        {equalAngles, 0, false, 64.0, Projection::stereographic, {1, 1}},
        {equalAngles, 0, false, 150.0, Projection::stereographic, {1, 1}},
        {equalAngles, 0, false, 200.0, Projection::gnomonic, {1, 1}},
        {equalAngles, 2, true, 32.0, Projection::gnomonic, {2, 1}},
        {"550 5/2:5/2:5/2", 0, false, 128.0, Projection::stereographic, {1, 1}},
        {"571 5/4:5/4:5/4", 1, false, 0.5, Projection::gnomonic, {1, 1}},
        {"302 2/1:3/2:3/2", 0, true, 256.0, Projection::stereographic, {1, 1}},
    };
    long compared = 0;
    for (const Request& r : hard) {
        compared += compareWithReference(r, {0, thinning, 16});
    }
    // At a huge R every pixel shows nearly the centre, where the equal angles tie: every sample
    // takes the exact path.
    compared += compareWithReference(
        {equalAngles, 0, false, 1e300, Projection::stereographic, {1, 1}}, {240, pictureHeight, 8});
    std::cout << "compared " << compared << " samples of hard pictures\n";
}

// A mirror through sample centres: the start-up triangle's third mirror is the plane y = 0, and
// rolling the view by 45 degrees turns it through the diagonal of the picture, where the dot
// product with its normal is zero but for the rounding of the turn, so its sign, and with it the
// side count, rests on the last bits. Every sample near the mirror and every 16th of every 4th
// row is compared, in each projection and both diagonals.
TEST(FastScanExactness, AgreesWithThePlainImplementationOnAMirrorThroughSampleCentres) {
    const Projection projections[] = {Projection::stereographic, Projection::gnomonic,
                                      Projection::orthographic};
    const View views[] = {{0, 0, 45}, {0, 0, -45}, {0, 0, 135}};
    long compared = 0;
    for (const Projection projection : projections) {
        for (const View& view : views) {
            compared += compareWithReference({startUp, 0, false, 120.0, projection, {1, 1}},
                                             {0, 4 * thinning, 16}, {view, {640, 481}});
        }
    }
    std::cout << "compared " << compared << " samples beside a mirror\n";
}

// At scales so small that X * X only just stays finite, the kernels still raise no fault flag
// of their own, which would send the row to the checked path: the orthographic kernel off the
// disc, and the stereographic one with 1 - rho^2 near the largest double. (The gnomonic plane
// is not halved: its X is twice as large at the same scale.) The view is turned so that the
// point all these samples show is no tie, which would leave every sample to the exact path.
TEST(FastScanExactness, TakesNoCheckedPassFarFromTheCentre) {
    const std::pair<Projection, double> cases[] = {
        {Projection::orthographic, 1.5e-152},  {Projection::orthographic, 1.25e-152},
        {Projection::stereographic, 1.5e-152}, {Projection::stereographic, 1.25e-152},
        {Projection::gnomonic, 3e-152},        {Projection::gnomonic, 2.5e-152}};
    for (const auto& [projection, scale] : cases) {
        const Request r{startUp, 0, false, scale, projection, {1, 1}};
        for (const FinePicture& p : pictures(r, {{30, 45, 0}, {640, 481}})) {
            std::vector<PackedColour> row(static_cast<std::size_t>(p.width()));
            EXPECT_LT(p.renderRow(pictureHeight / 2, row), p.width())
                << nameOf(p.kernelVariant()) << " R " << scale << " projection "
                << static_cast<int>(projection);
        }
    }
}

// The kernels take the normals for unit vectors: normals longer than the drawing's rounding
// allows leave every sample to the exact path, and those within it do not.
TEST(FastScanExactness, LeavesNormalsOffUnitLengthToTheExactPath) {
    const DrawSetup setup = prepareDrawing(DrawRequest{});
    const std::pair<double, bool> cases[] = {
        {1.0, true}, {1.0 + 0x1p-50, true}, {1.0 + 0x1p-44, false}, {1.0 - 0x1p-44, false}};
    for (const auto& [factor, suit] : cases) {
        Mirrors normals = setup.normals;
        normals[1] = factor * normals[1];
        const FinePicture p(120.0, setup.pi, Projection::stereographic, normals);
        std::vector<PackedColour> row(static_cast<std::size_t>(p.width()));
        const int exact = p.renderRow(100, row);
        EXPECT_EQ(exact == p.width(), !suit) << "N2 times " << factor << ": " << exact;
    }
}

// Where the C library's sine or arctangent is off by its last bit, the correctly rounded one
// decides: this pixel of the equal-angle triangle is cyan. (With glibc's functions it is
// green.)
TEST(FastScanExactness, CorrectRoundingDecidesTheEqualAnglesTie) {
    const Request r{equalAngles, 0, false, 120.0, Projection::stereographic, {1, 1}};
    for (FinePicture& p : pictures(r)) {
        std::vector<PackedColour> row(static_cast<std::size_t>(p.width()));
        p.renderRow(457, row);
        EXPECT_EQ(row[103], 1 + 256 * 170 + 65536 * 170);
    }
}

// The instruction sets of processors with and without AVX2 and AVX-512.
constexpr unsigned noAvx = 0U;
constexpr unsigned avx2Only = detail::isa::avx2 | detail::isa::fma;
constexpr unsigned allSets = avx2Only | detail::isa::avx512f | detail::isa::avx512dq |
                             detail::isa::avx512vl | detail::isa::avx512bw;

struct KernelChoiceCase {
    const char* name;
    const char* forced;  // VANTU_KERNELS, or null when unset
    unsigned processor;
    KernelVariant chosen;
    const char* error;  // the message, or null when the choice stands
    friend void PrintTo(const KernelChoiceCase& c, std::ostream* os) { *os << c.name; }
};

class KernelChoice : public testing::TestWithParam<KernelChoiceCase> {};

// VANTU_KERNELS forces a variant the processor runs; anything else names the ones it runs.
TEST_P(KernelChoice, TakesTheForcedVariantOrSaysWhichRunHere) {
    const KernelChoiceCase& c = GetParam();
    if (builtKernelVariants().size() < 3) {
        GTEST_SKIP() << "this build holds only the baseline kernels";
    }
    if (c.error == nullptr) {
        EXPECT_EQ(detail::chooseKernels(c.forced, c.processor), c.chosen);
        return;
    }
    try {
        (void)detail::chooseKernels(c.forced, c.processor);
        ADD_FAILURE() << "no error";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, KernelChoice,
    testing::Values(
        KernelChoiceCase{"UnsetTakesTheFastest", nullptr, allSets, KernelVariant::avx512, nullptr},
        KernelChoiceCase{"EmptyIsUnset", "", avx2Only, KernelVariant::avx2, nullptr},
        KernelChoiceCase{"UnsetWithoutAvx", nullptr, noAvx, KernelVariant::baseline, nullptr},
        KernelChoiceCase{"ForcedBaseline", "baseline", allSets, KernelVariant::baseline, nullptr},
        KernelChoiceCase{"ForcedAvx2", "avx2", allSets, KernelVariant::avx2, nullptr},
        KernelChoiceCase{"ForcedAvx512", "avx512", allSets, KernelVariant::avx512, nullptr},
        KernelChoiceCase{"Unsupported", "avx512", avx2Only, KernelVariant::baseline,
                         "VANTU_KERNELS=avx512: this processor runs baseline and avx2"},
        KernelChoiceCase{"UnsupportedOnlyBaseline", "avx2", noAvx, KernelVariant::baseline,
                         "VANTU_KERNELS=avx2: this processor runs baseline"},
        KernelChoiceCase{"Unknown", "AVX2", allSets, KernelVariant::baseline,
                         "VANTU_KERNELS=AVX2: this processor runs baseline, avx2 and avx512"}),
    RowName());

// In a fresh process, every picture renders with the variant VANTU_KERNELS forces, and a value
// that cannot be followed is reported rather than ignored.
TEST(KernelChoiceDeathTest, EveryPictureUsesTheForcedVariant) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const DrawSetup setup = prepareDrawing(DrawRequest{});
    for (const KernelVariant v : builtKernelVariants()) {
        if (!runsHere(v)) {
            continue;
        }
        EXPECT_EXIT(
            {
                setenv("VANTU_KERNELS", nameOf(v), 1);
                const FinePicture picture(120.0, setup.pi, Projection::stereographic,
                                          setup.normals);
                std::exit(picture.kernelVariant() == v && defaultKernelVariant() == v ? 0 : 1);
            },
            testing::ExitedWithCode(0), "")
            << nameOf(v);
    }
    EXPECT_EXIT(
        {
            setenv("VANTU_KERNELS", "none", 1);
            const auto error = kernelChoiceError();
            std::exit(error &&
                              error->starts_with("VANTU_KERNELS=none: this processor runs baseline")
                          ? 0
                          : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vantu
