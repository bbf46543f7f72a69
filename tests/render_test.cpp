// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/render_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "drawing/draw_procedure.h"
#include "geometry/draw_error.h"
#include "render/image_sink.h"
#include "render/scan.h"
#include "setup/draw_request.h"
#include "tests/picture_support.h"
#include "tests/reference_render.h"
#include "tests/run_recorder.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;

using testing_support::run;
using testing_support::RunRecorder;
using testing_support::SinkCall;

DrawSetup startUpSetup() {
    return prepareDrawing(DrawRequest{});
}

RunRecorder render(double scale, Projection projection, const DrawSetup& setup = startUpSetup()) {
    RunRecorder recorder;
    renderPicture(scale, setup.pi, projection, setup.normals, recorder);
    return recorder;
}

// Runs of a row: in order, without gaps, from 0 to 640, neighbours of different colours except
// after the empty grey run that opens a row whose first pixel is not grey.
void expectWellFormed(const std::vector<SinkCall>& calls, int rows) {
    std::size_t i = 0;
    for (int row = 0; row < rows; ++row) {
        int next = 0;
        PackedColour previous = -1;
        bool first = true;
        for (; i < calls.size() && calls[i].kind == SinkCall::drawn; ++i) {
            const SinkCall& c = calls[i];
            ASSERT_EQ(c.row, row);
            ASSERT_EQ(c.first, next) << "row " << row;
            if (first) {
                ASSERT_TRUE(c.end > c.first || c.colour == grey) << "row " << row;
            } else {
                ASSERT_GT(c.end, c.first) << "row " << row;
                ASSERT_NE(c.colour, previous) << "row " << row;
            }
            ASSERT_LE(c.end, pictureWidth);
            next = c.end;
            previous = c.colour;
            first = false;
        }
        ASSERT_EQ(next, pictureWidth) << "row " << row;
        ASSERT_LT(i, calls.size());
        ASSERT_EQ(calls[i], (SinkCall{SinkCall::rowEnd, row})) << "row " << row;
        ++i;
    }
    EXPECT_EQ(i, calls.size());
}

struct RowCase {
    const char* name;
    Projection projection;
    std::vector<SinkCall> runs;
    friend void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }
};

class StartUpRow240 : public testing::TestWithParam<RowCase> {};

TEST_P(StartUpRow240, HandsTheseRunsToTheSink) {
    const RunRecorder recorder = render(120.0, GetParam().projection);
    EXPECT_EQ(recorder.runsOf(240), GetParam().runs);
    expectWellFormed(recorder.calls, pictureHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Projections, StartUpRow240,
    testing::Values(RowCase{"Stereo",
                            Projection::stereographic,
                            {run(240, 0, 0, 128, 128, 128), run(240, 0, 118, 1, 170, 170),
                             run(240, 118, 119, 1, 1, 170), run(240, 119, 266, 170, 1, 1),
                             run(240, 266, 267, 255, 1, 1), run(240, 267, 320, 255, 255, 1),
                             run(240, 320, 383, 1, 255, 1), run(240, 383, 606, 1, 170, 170),
                             run(240, 606, 640, 170, 1, 1)}},
                    RowCase{"Ortho",
                            Projection::orthographic,
                            {run(240, 0, 80, 128, 128, 128), run(240, 80, 84, 1, 170, 170),
                             run(240, 84, 218, 170, 1, 1), run(240, 218, 320, 255, 255, 1),
                             run(240, 320, 438, 1, 255, 1), run(240, 438, 560, 1, 170, 170),
                             run(240, 560, 640, 128, 128, 128)}},
                    RowCase{"Gnome",
                            Projection::gnomonic,
                            {run(240, 0, 0, 128, 128, 128), run(240, 0, 263, 170, 1, 1),
                             run(240, 263, 264, 255, 1, 1), run(240, 264, 320, 255, 255, 1),
                             run(240, 320, 388, 1, 255, 1), run(240, 388, 640, 1, 170, 170)}}),
    RowName());

TEST(RunShapes, OrthographicDiscAndAllGreyRow) {
    const RunRecorder recorder = render(120.0, Projection::orthographic);
    EXPECT_EQ(recorder.runsOf(0), (std::vector<SinkCall>{run(0, 0, 640, 128, 128, 128)}));
    for (const int row : {240, 241}) {
        const std::vector<SinkCall> runs = recorder.runsOf(row);
        EXPECT_EQ(runs.front().end, 80) << row;
        EXPECT_EQ(runs.back().first, 560) << row;
        EXPECT_EQ(runs.back().colour, grey) << row;
    }
    for (int row = 1; row <= 480; ++row) {
        ASSERT_GT(recorder.runsOf(row).size(), 1U) << "the disc covers row " << row;
    }
}

TEST(RunShapes, NegativeScaleTurnsThePictureAHalfTurn) {
    const DrawSetup setup = startUpSetup();
    for (const Projection projection :
         {Projection::stereographic, Projection::gnomonic, Projection::orthographic}) {
        ImageSink positive;
        ImageSink negative;
        renderPicture(120.0, setup.pi, projection, setup.normals, positive);
        renderPicture(-120.0, setup.pi, projection, setup.normals, negative);
        const auto map = projection == Projection::gnomonic        ? reference::Map::gnomonic
                         : projection == Projection::stereographic ? reference::Map::stereographic
                                                                   : reference::Map::orthographic;
        const std::array<std::array<double, 3>, 3> n = {
            {{setup.normals[0].x, setup.normals[0].y, setup.normals[0].z},
             {setup.normals[1].x, setup.normals[1].y, setup.normals[1].z},
             {setup.normals[2].x, setup.normals[2].y, setup.normals[2].z}}};
        for (int row = 0; row < pictureHeight; ++row) {
            for (int col = 0; col < pictureWidth; ++col) {
                const int turnedRow = 481 - row;
                const PackedColour expected =
                    turnedRow < pictureHeight
                        ? positive.at(639 - col, turnedRow)
                        : *reference::pixel(639 - col, turnedRow, 120.0, setup.pi, map, n);
                ASSERT_EQ(negative.at(col, row), expected) << col << ", " << row;
            }
        }
    }
}

// The scan's input for the test mappings below: R = 120, pi = 3 and the axes as normals.
detail::ScanInput testInput() {
    detail::ScanInput input;
    input.pi = 3.0;
    input.normals = Mirrors{Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}};
    return input;
}

// A mapping for the scan that shows column numbers as colours and faults at one pixel, to test
// the run logic and the fault path in any row and column.
template <int FaultRow, int FaultColumn>
struct FaultAt {
    template <class Check>
    static double ordinate(double row, const detail::Plane& /*plane*/, Check& check) {
        return check.value(row);
    }
    template <class Check>
    static double abscissa(double col, const detail::Plane& /*plane*/, Check& check) {
        return check.value(col);
    }
    template <class Check>
    static bool toSphere(double x, double y, double /*ySquared*/, double /*pi*/, Check& check,
                         Vec3& p) {
        if (y == FaultRow && x == FaultColumn) {
            (void)check.root(-1.0 - y);
        }
        // Columns 0-99 grey, then a colour change every 100 columns and at column 639.
        if (x < 100) {
            return false;
        }
        const double band = x == 639 ? 7.0 : std::floor(x / 100.0);
        p = {std::cos(band), std::sin(band), 0.0};
        return true;
    }
};

template <int Row, int Column>
void expectFaultAt() {
    SCOPED_TRACE("fault at row " + std::to_string(Row) + ", column " + std::to_string(Column));
    RunRecorder recorder;
    const detail::ScanInput input = testInput();
    try {
        detail::scanPicture<FaultAt<Row, Column>>(input, pictureHeight, recorder);
        ADD_FAILURE() << "no fault";
    } catch (const DrawError& e) {
        EXPECT_EQ(e.kind(), FaultKind::invalidOperation);
        EXPECT_EQ(e.row(), Row);
        EXPECT_EQ(e.column(), Column);
        EXPECT_EQ(std::string(e.what()),
                  "the scale R is 120: square root of a negative number in row " +
                      std::to_string(Row) + ", column " + std::to_string(Column));
    }
    const auto faultingRow = static_cast<long>(recorder.runsOf(Row).size());
    expectWellFormed({recorder.calls.begin(), recorder.calls.end() - faultingRow}, Row);
    // The faulting row got the runs that ended before the faulting column, and no end.
    for (const SinkCall& c : recorder.runsOf(Row)) {
        EXPECT_LE(c.end, Column);
    }
    if (!recorder.calls.empty()) {
        EXPECT_NE(recorder.calls.back(), (SinkCall{SinkCall::rowEnd, Row}));
    }
}

TEST(ScanFaults, FoundInAnyRowAndColumn) {
    expectFaultAt<0, 0>();
    expectFaultAt<0, 250>();
    expectFaultAt<1, 639>();
    expectFaultAt<240, 101>();
    expectFaultAt<479, 0>();
    expectFaultAt<480, 639>();
}

// Every pixel shows the same point of the triangle.
struct OnePoint {
    template <class Check>
    static double ordinate(double /*row*/, const detail::Plane& /*plane*/, Check& /*check*/) {
        return 0.0;
    }
    template <class Check>
    static double abscissa(double /*col*/, const detail::Plane& /*plane*/, Check& /*check*/) {
        return 0.0;
    }
    template <class Check>
    static bool toSphere(double, double, double, double, Check&, Vec3& p) {
        p = {0.6, 0.0, 0.8};
        return true;
    }
};

TEST(RunShapes, RowOfOneColourOpensWithTheEmptyGreyRun) {
    RunRecorder recorder;
    const detail::ScanInput input = testInput();
    detail::scanPicture<OnePoint>(input, pictureHeight, recorder);
    expectWellFormed(recorder.calls, pictureHeight);
    const PackedColour magenta = 255 + 256 * 1 + 65536 * 255;
    EXPECT_EQ(recorder.runsOf(480),
              (std::vector<SinkCall>{run(480, 0, 0, 128, 128, 128),
                                     {SinkCall::drawn, 480, 0, 640, magenta}}));
}

TEST(ScanFaults, RowsWithoutFaultsGiveTheSameRunsEitherWay) {
    RunRecorder fast;
    const detail::ScanInput input = testInput();
    detail::scanPicture<FaultAt<-1, -1>>(input, pictureHeight, fast);
    expectWellFormed(fast.calls, pictureHeight);
    // Columns 100, 200, ..., and the change at column 639.
    const std::vector<SinkCall> runs = fast.runsOf(7);
    ASSERT_EQ(runs.size(), 8U);
    EXPECT_EQ(runs[0], (SinkCall{SinkCall::drawn, 7, 0, 100, grey}));
    EXPECT_EQ(runs[6].first, 600);
    EXPECT_EQ(runs[6].end, 639);
    EXPECT_EQ(runs[7].first, 639);
    EXPECT_EQ(runs[7].end, 640);

    RunRecorder slow;
    std::array<PackedColour, pictureWidth> colours{};
    for (int row = 0; row < pictureHeight; ++row) {
        detail::Checked check(120.0, row);
        detail::computeRow<FaultAt<-1, -1>>(
            row, input, check,
            [&](int col) { return FaultAt<-1, -1>::abscissa(col, input.plane, check); },
            colours.data());
        detail::emitRuns(row, colours.data(), pictureWidth, true, slow);
        slow.endRow(row);
    }
    EXPECT_EQ(fast.calls, slow.calls);
}

struct ScaleFault {
    const char* name;
    std::string scaleText;
    Projection projection;
    std::string message;
    FaultKind kind;
    friend void PrintTo(const ScaleFault& c, std::ostream* os) { *os << c.name; }
};

class BadScales : public testing::TestWithParam<ScaleFault> {};

TEST_P(BadScales, StopBeforeTheFirstRun) {
    const ScaleFault& c = GetParam();
    const DrawRequest request =
        drawRequest().scale(readScale(c.scaleText)).projection(c.projection);
    RunRecorder recorder;
    try {
        runDrawing(request, recorder);
        ADD_FAILURE() << "no fault";
    } catch (const DrawError& e) {
        EXPECT_EQ(std::string(e.what()), c.message);
        EXPECT_EQ(e.kind(), c.kind);
        EXPECT_EQ(e.stage(), FaultStage::scan);
    }
    // The set-up succeeded: the picture was switched to pixels, and then nothing was drawn.
    EXPECT_EQ(recorder.calls, (std::vector<SinkCall>{{SinkCall::pixelScale}}));
}

INSTANTIATE_TEST_SUITE_P(
    Scales, BadScales,
    testing::Values(
        ScaleFault{"Zero", "0", Projection::stereographic,
                   "the scale R is 0: division by zero in row 0", FaultKind::divisionByZero},
        ScaleFault{"Empty", "", Projection::gnomonic, "the scale R is 0: division by zero in row 0",
                   FaultKind::divisionByZero},
        ScaleFault{"Letters", "abc", Projection::orthographic,
                   "the scale R is 0: division by zero in row 0", FaultKind::divisionByZero},
        ScaleFault{"NegativeZero", "-0", Projection::stereographic,
                   "the scale R is -0: division by zero in row 0", FaultKind::divisionByZero},
        ScaleFault{"Denormal", "1e-320", Projection::stereographic,
                   "the scale R is 1e-320: overflow in row 0", FaultKind::overflow},
        ScaleFault{"SquareOfRowOverflows", "1e-160", Projection::gnomonic,
                   "the scale R is 1e-160: overflow in row 0", FaultKind::overflow},
        ScaleFault{"SquareOfColumnOverflows", "1e-152", Projection::orthographic,
                   "the scale R is 1e-152: overflow in row 0, column 0", FaultKind::overflow}),
    RowName());

TEST(RunDrawing, SwitchesToPixelsOnlyAfterTheSetUpSucceeded) {
    DrawRequest request = drawRequest("300 x/1:3/1:3/1");
    RunRecorder recorder;
    EXPECT_THROW(runDrawing(request, recorder), DrawError);
    EXPECT_TRUE(recorder.calls.empty());

    request.triangleCode = "300 2/1:3/1:3/1";
    runDrawing(request, recorder);
    ASSERT_FALSE(recorder.calls.empty());
    EXPECT_EQ(recorder.calls.front(), (SinkCall{SinkCall::pixelScale}));
    EXPECT_EQ(recorder.runsOf(240), render(120.0, Projection::stereographic).runsOf(240));

    // Runs are of window pixels: any other sampling is refused before the set-up.
    recorder.calls.clear();
    for (const Sampling sampling : {Sampling{2, 1}, Sampling{1, 2}}) {
        EXPECT_THROW(runDrawing(PictureDescription{request, {}, {}, sampling}, recorder),
                     std::invalid_argument);
    }
    EXPECT_TRUE(recorder.calls.empty());
}

// The core against the plain implementation, pixel for pixel: every catalogue code in every
// projection, cycling through the six permutations and a few scales, on sampled rows (the plain
// implementation's correctly rounded functions take several microseconds a pixel).
TEST(Exactness, AgreesWithThePlainImplementation) {
    const double scales[] = {120.0, 37.25, -120.0, 500.0, 0.75, 1e6};
    const Projection projections[] = {Projection::stereographic, Projection::gnomonic,
                                      Projection::orthographic};
    int pictures = 0;
    for (std::size_t code = 0; code < catalogue.size(); ++code) {
        for (std::size_t proj = 0; proj < 3; ++proj) {
            const DrawRequest request = drawRequest(std::string(catalogue[code]))
                                            .rotation(static_cast<int>((code + proj) % 3))
                                            .reverse((code / 3 + proj) % 2 == 1)
                                            .scale(scales[(code + proj) % 6])
                                            .projection(projections[proj]);
            const DrawSetup setup = prepareDrawing(request);
            ImageSink image;
            renderPicture(request.scale, setup.pi, request.projection, setup.normals, image);
            ASSERT_EQ(image.rowsFinished(), pictureHeight);
            const auto map =
                static_cast<reference::Map>(request.projection == Projection::gnomonic        ? 0
                                            : request.projection == Projection::stereographic ? 1
                                                                                              : 2);
            const std::array<std::array<double, 3>, 3> n = {
                {{setup.normals[0].x, setup.normals[0].y, setup.normals[0].z},
                 {setup.normals[1].x, setup.normals[1].y, setup.normals[1].z},
                 {setup.normals[2].x, setup.normals[2].y, setup.normals[2].z}}};
            for (int row = static_cast<int>(code % 161); row < pictureHeight; row += 161) {
                for (int col = 0; col < pictureWidth; ++col) {
                    const auto expected =
                        reference::pixel(col, row, request.scale, setup.pi, map, n);
                    ASSERT_TRUE(expected.has_value());
                    ASSERT_EQ(image.at(col, row), *expected)
                        << catalogue[code] << " projection " << proj << " pixel " << col << ", "
                        << row;
                }
            }
            ++pictures;
        }
    }
    EXPECT_EQ(pictures, 132);
}

}  // namespace
}  // namespace vantu
