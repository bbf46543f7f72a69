// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The prepared picture: the same rows, marks, points and snub points as the picture, overlay and
// set-up made each on their own, and a new view, size, sampling or scale of the same triangle
// answered from the triangle solved once.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/prepared_picture.h"
#include "geometry/draw_error.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

struct PreparedRow {
    friend void PrintTo(const PreparedRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    PictureDescription description;
    OverlayOptions overlays;
};

PictureDescription described(std::string_view code, Projection projection, View view,
                             PictureSize size, Sampling sampling, double scale) {
    PictureDescription d;
    d.request.triangleCode = code;
    d.request.projection = projection;
    d.request.scale = scale;
    d.view = view;
    d.size = size;
    d.sampling = sampling;
    return d;
}

const OverlayOptions everyMark{true, true, true, true};

const PreparedRow preparedRows[] = {
    {"plain", described(catalogue[0], Projection::stereographic, {}, {97, 61}, {}, 25), {}},
    {"marked", described(catalogue[0], Projection::stereographic, {30, -15, 10}, {97, 61}, {}, 25),
     everyMark},
    {"gnomonicFine",
     described(catalogue[5], Projection::gnomonic, {-120, 45, 0}, {60, 40}, {1.5, 2}, 30),
     {true, false, true, false}},
    {"orthographicZoomed",
     described(catalogue[12], Projection::orthographic, {0, 0, 135}, {41, 31}, {3, 1}, 14),
     everyMark},
};

// Every row of `picture`.
std::vector<PackedColour> rowsOf(const PreparedPicture& picture) {
    const auto width = static_cast<std::size_t>(picture.width());
    std::vector<PackedColour> pixels(width * static_cast<std::size_t>(picture.height()));
    for (int j = 0; j < picture.height(); ++j) {
        (void)picture.renderRow(
            j, std::span(pixels).subspan(static_cast<std::size_t>(j) * width, width));
    }
    return pixels;
}

class Prepared : public ::testing::TestWithParam<PreparedRow> {};

// Its rows are FinePicture's with pictureOverlay's lines painted over them, each made from the
// set-up solved and turned apart; its snub points and labels' anchors are snubPointsOf's and
// pictureOverlay's.
TEST_P(Prepared, AnswersAsThePartsMadeApart) {
    const PictureDescription& d = GetParam().description;
    const OverlayOptions& o = GetParam().overlays;
    const PreparedPicture prepared(d, o);

    const DrawSetup plain = prepareDrawing(d.request);
    const DrawSetup setup = turnedSetup(plain, d.view);
    const FinePicture picture = finePictureOf(d, setup);
    const PictureOverlay overlay = pictureOverlay(d, setup, o, triangleMarks(d.request, plain, o));
    const auto width = static_cast<std::size_t>(picture.width());
    std::vector<PackedColour> expected(width * static_cast<std::size_t>(picture.height()));
    for (int j = 0; j < picture.height(); ++j) {
        const auto row = std::span(expected).subspan(static_cast<std::size_t>(j) * width, width);
        (void)picture.renderRow(j, row);
        overlay.overlay.paintRow(j, row);
    }
    EXPECT_EQ(rowsOf(prepared), expected);
    if (const PictureOverlay* mine = prepared.overlay(); mine != nullptr) {
        EXPECT_EQ(mine->anchors.vertices, overlay.anchors.vertices);
        EXPECT_EQ(mine->anchors.mirrors, overlay.anchors.mirrors);
        EXPECT_EQ(mine->anchors.snubPoints, overlay.anchors.snubPoints);
        EXPECT_EQ(mine->generatingPoint, overlay.generatingPoint);
    } else {
        EXPECT_FALSE(o.any()) << "an overlay is asked for";
    }

    const std::vector<SnubPoint> snub = snubPointsOf(d);
    const std::vector<SnubPoint> shown = prepared.snubPoints();
    ASSERT_EQ(shown.size(), snub.size());
    for (std::size_t i = 0; i < snub.size(); ++i) {
        EXPECT_EQ(shown[i].point, snub[i].point) << i;
    }
    EXPECT_EQ(factLines(prepared.facts()), factLines(triangleFacts(d.request)));
}

// A new view, size, sampling, scale and projection of the same triangle reuse its solved set-up,
// and give the rows a picture prepared afresh gives; another triangle is solved again.
TEST_P(Prepared, ReusesTheSolvedTriangleForEveryOtherChange) {
    const PreparedPicture first(GetParam().description, GetParam().overlays);
    for (const PreparedRow& row : preparedRows) {
        PictureDescription d = row.description;
        d.request.triangleCode = GetParam().description.request.triangleCode;
        const PreparedPicture again = first.redescribed(d, row.overlays);
        EXPECT_EQ(&again.solved(), &first.solved()) << row.name;
        EXPECT_EQ(rowsOf(again), rowsOf(PreparedPicture(d, row.overlays))) << row.name;
    }
    PictureDescription other = GetParam().description;
    other.request.triangleCode = catalogue[1];
    EXPECT_NE(&first.redescribed(other).solved(), &first.solved());
}

INSTANTIATE_TEST_SUITE_P(Picture, Prepared, ::testing::ValuesIn(preparedRows), RowName());

// The sampling and the size are checked before the set-up, whose faults come through.
TEST(Prepared, ChecksTheGridBeforeSolving) {
    PictureDescription d;
    d.request.triangleCode = "2 3";
    d.size = {0, 10};
    EXPECT_THROW((void)PreparedPicture(d), std::invalid_argument);
    d.size = {10, 10};
    EXPECT_THROW((void)PreparedPicture(d), DrawError);
}

}  // namespace
}  // namespace vantu
