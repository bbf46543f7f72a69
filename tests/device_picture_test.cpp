// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The drawing at a screen's device pixel ratio: device rows window row by window row, one endRow
// per window row, the picture of the same ratio, and faults named as the window names them.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "drawing/draw_procedure.h"
#include "geometry/draw_error.h"
#include "render/fine_picture.h"
#include "render/image_sink.h"
#include "setup/draw_request.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;

// Records every call on a device row sink, in order.
class DeviceRecorder : public DeviceRowSink {
public:
    struct Call {
        enum Kind { deviceRow, rowEnd, pixelScale } kind;
        int row = -1;
        std::vector<PackedColour> colours;
    };

    void drawDeviceRow(int row, std::span<const PackedColour> colours) override {
        calls.push_back({Call::deviceRow, row, {colours.begin(), colours.end()}});
    }
    void endRow(int windowRow) override {
        calls.push_back({Call::rowEnd, windowRow, {}});
        if (windowRow == throwAtEndOf) {
            throw std::runtime_error("the sink stops");
        }
    }
    void setPixelScale() override { calls.push_back({Call::pixelScale, -1, {}}); }

    std::vector<Call> calls;
    int throwAtEndOf = -1;
};

std::vector<PackedColour> rowOf(const FinePicture& picture, int row) {
    std::vector<PackedColour> out(static_cast<std::size_t>(picture.width()));
    (void)picture.renderRow(row, out);
    return out;
}

// ---------------------------------------------------------------------------------------------

struct RatioRow {
    friend void PrintTo(const RatioRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    double ratio;
    DrawRequest request;
};

const RatioRow ratioRows[] = {
    {"Half", 0.5,
     drawRequest("300 2/1:3/1:3/1").scale(120.0).projection(Projection::stereographic)},
    {"One", 1.0, drawRequest("300 2/1:3/1:3/1").scale(120.0).projection(Projection::stereographic)},
    {"OneAndAQuarterGnome", 1.25,
     drawRequest("412 3/2:4/3:4/3").scale(90.0).projection(Projection::gnomonic)},
    {"OneAndAHalfOrtho", 1.5,
     drawRequest("311 3/2:3/2:3/2").scale(120.0).projection(Projection::orthographic)},
    {"OneAndThreeQuartersTurned", 1.75,
     drawRequest("543 5/3:3/2:5/4").scale(-37.3).projection(Projection::gnomonic)},
    {"Two", 2.0, drawRequest("300 2/1:3/1:3/1").scale(120.0).projection(Projection::stereographic)},
    {"Three", 3.0,
     drawRequest("592 5/3:5/3:3/2").scale(200.0).projection(Projection::orthographic)},
};

class DeviceDrawing : public ::testing::TestWithParam<RatioRow> {};

TEST_P(DeviceDrawing, HandsEachWindowRowsDeviceRowsThenItsEnd) {
    const RatioRow& c = GetParam();
    const double ratio = c.ratio;
    DeviceRecorder sink;
    runDrawing(PictureDescription{c.request, {}, {}, Sampling{ratio}}, sink);

    ASSERT_FALSE(sink.calls.empty());
    EXPECT_EQ(sink.calls.front().kind, DeviceRecorder::Call::pixelScale);
    int nextDeviceRow = 0;
    int nextWindowRow = 0;
    for (std::size_t i = 1; i < sink.calls.size(); ++i) {
        const DeviceRecorder::Call& call = sink.calls[i];
        if (call.kind == DeviceRecorder::Call::rowEnd) {
            ASSERT_EQ(call.row, nextWindowRow);
            ++nextWindowRow;
        } else {
            ASSERT_EQ(call.kind, DeviceRecorder::Call::deviceRow);
            ASSERT_EQ(call.row, nextDeviceRow) << "device rows in order";
            EXPECT_EQ(windowPixelOf(call.row, ratio), nextWindowRow)
                << "device row " << call.row << " before the end of its window row";
            EXPECT_EQ(call.colours.size(),
                      static_cast<std::size_t>(devicePixels(pictureWidth, ratio)));
            ++nextDeviceRow;
        }
    }
    EXPECT_EQ(nextWindowRow, pictureHeight) << "one end per window row";
    EXPECT_EQ(nextDeviceRow, devicePixels(pictureHeight, ratio)) << "every device row";
}

// The rows are the picture of the ratio; at a whole ratio K that is vantu-render's --zoom K, and
// at 1 the window's picture.
TEST_P(DeviceDrawing, PaintsThePictureOfItsRatio) {
    const RatioRow& c = GetParam();
    DeviceRecorder sink;
    runDrawing(PictureDescription{c.request, {}, {}, Sampling{c.ratio}}, sink);
    const DrawSetup setup = prepareDrawing(c.request);
    const FinePicture expected(c.request.scale, setup.pi, c.request.projection, setup.normals,
                               Sampling{c.ratio});
    ImageSink window;
    runDrawing(c.request, window);
    for (const DeviceRecorder::Call& call : sink.calls) {
        if (call.kind != DeviceRecorder::Call::deviceRow) {
            continue;
        }
        ASSERT_EQ(call.colours, rowOf(expected, call.row)) << "device row " << call.row;
        if (c.ratio == 1.0) {
            const auto begin = window.pixels().begin() + call.row * pictureWidth;
            ASSERT_EQ(call.colours, std::vector(begin, begin + pictureWidth)) << "row " << call.row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ratios, DeviceDrawing, ::testing::ValuesIn(ratioRows), RowName());

// ---------------------------------------------------------------------------------------------
// A fault stops the drawing with the window's message, its window row without an end, and the
// device row it cut short handed over as far as the fault's window column. (Below a ratio of 1
// the first device row samples a later window row than 0, so a fault of row 0 shows there.)

struct FaultRow {
    friend void PrintTo(const FaultRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    double ratio;
    DrawRequest request;
};

const FaultRow faultRows[] = {
    {"ZeroScaleOneAndAHalf", 1.5,
     drawRequest("300 2/1:3/1:3/1").scale(0.0).projection(Projection::stereographic)},
    {"SubnormalScaleTwo", 2.0,
     drawRequest("300 2/1:3/1:3/1").scale(1e-320).projection(Projection::gnomonic)},
    {"SquareOverflowsOneAndAQuarter", 1.25,
     drawRequest("300 2/1:3/1:3/1").scale(1e-300).projection(Projection::gnomonic)},
    {"ColumnOverflowsOneAndAHalf", 1.5,
     drawRequest("300 2/1:3/1:3/1").scale(1e-152).projection(Projection::orthographic)},
    {"ColumnOverflowsThree", 3.0,
     drawRequest("300 2/1:3/1:3/1").scale(1e-152).projection(Projection::orthographic)},
};

class DeviceFault : public ::testing::TestWithParam<FaultRow> {};

TEST_P(DeviceFault, IsTheWindowsFaultWithTheRowsBeforeIt) {
    const FaultRow& c = GetParam();
    const double ratio = c.ratio;
    std::optional<DrawError> window;
    try {
        ImageSink sink;
        runDrawing(c.request, sink);
    } catch (const DrawError& e) {
        window = e;
    }
    ASSERT_TRUE(window.has_value()) << "the window's picture has a fault";

    DeviceRecorder sink;
    try {
        runDrawing(PictureDescription{c.request, {}, {}, Sampling{ratio}}, sink);
        FAIL() << "no fault";
    } catch (const DrawError& e) {
        EXPECT_EQ(std::string(e.what()), std::string(window->what()));
        EXPECT_EQ(e.row(), window->row());
        EXPECT_EQ(e.column(), window->column());
    }
    std::vector<int> ends;
    int deviceRows = 0;
    for (const DeviceRecorder::Call& call : sink.calls) {
        if (call.kind == DeviceRecorder::Call::rowEnd) {
            ends.push_back(call.row);
        } else if (call.kind == DeviceRecorder::Call::deviceRow) {
            ++deviceRows;
        }
    }
    EXPECT_EQ(static_cast<int>(ends.size()), window->row()) << "the window rows before the fault";
    EXPECT_EQ(deviceRows, devicePixels(window->row(), ratio) + 1);
    const DeviceRecorder::Call& last = sink.calls.back();
    ASSERT_EQ(last.kind, DeviceRecorder::Call::deviceRow);
    EXPECT_EQ(windowPixelOf(last.row, ratio), window->row());
    EXPECT_EQ(
        last.colours.size(),
        static_cast<std::size_t>(window->column() < 0 ? 0 : devicePixels(window->column(), ratio)));
}

INSTANTIATE_TEST_SUITE_P(Scales, DeviceFault, ::testing::ValuesIn(faultRows), RowName());

// What stops a drawing before its first row leaves the sink untouched; what the sink throws
// stops the drawing where it was thrown.
TEST(DeviceDrawingStops, BeforeTheFirstRowOrWhereTheSinkSays) {
    DeviceRecorder badCode;
    EXPECT_THROW(
        runDrawing(
            PictureDescription{
                drawRequest("300 x/1:3/1:3/1").scale(120.0).projection(Projection::stereographic),
                {},
                {},
                Sampling{2.0}},
            badCode),
        DrawError);
    EXPECT_TRUE(badCode.calls.empty());

    for (const double ratio : {0.2, 16.5}) {
        DeviceRecorder badRatio;
        EXPECT_THROW_MSG(
            runDrawing(PictureDescription{DrawRequest{}, {}, {}, Sampling{ratio}}, badRatio),
            std::invalid_argument,
            "the pixel ratio must be 0.25 to 16, not " + std::string(ratio < 1 ? "0.2" : "16.5"));
        EXPECT_TRUE(badRatio.calls.empty());
    }

    DeviceRecorder stopping;
    stopping.throwAtEndOf = 100;
    EXPECT_THROW(runDrawing(PictureDescription{DrawRequest{}, {}, {}, Sampling{1.5}}, stopping),
                 std::runtime_error);
    EXPECT_EQ(stopping.calls.back().kind, DeviceRecorder::Call::rowEnd);
    EXPECT_EQ(stopping.calls.back().row, 100);
}

}  // namespace
}  // namespace vantu
