// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The listing of --snub.

#include "cli/snub_report.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "setup/draw_request.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"

namespace vantu::cli {
namespace {

using testing_support::drawRequest;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string f; in >> f;) {
        fields.push_back(f);
    }
    return fields;
}

TEST(SnubReport, ListsEachPointWithItsPixel) {
    const DrawRequest request = drawRequest("311 3/2:3/2:3/2").projection(Projection::gnomonic);
    const DrawSetup setup = prepareDrawing(request);
    const std::vector<SnubPoint> points = findSnubPoints(setup.normals, setup.pi);
    const std::vector<std::string> lines = linesOf(snubReport(request, points));
    ASSERT_EQ(lines.size(), 3 + points.size());
    EXPECT_EQ(lines[0],
              "Points where the six hues meet (D1 = D2 = D3) for \"311 3/2:3/2:3/2\", rotation 0, "
              "reverse off: 4.");
    EXPECT_NE(lines[1].find("gnome picture at R = 120."), std::string::npos) << lines[1];
    EXPECT_EQ(fieldsOf(lines[2]),
              (std::vector<std::string>{"#", "x", "y", "z", "k", "signs", "D", "pixel"}));
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::vector<std::string> f = fieldsOf(lines[3 + i]);
        ASSERT_GE(f.size(), 8U) << lines[3 + i];
        EXPECT_EQ(f[0], std::to_string(i + 1));
        // Read back, the coordinates and D are the point's to 15 significant digits.
        const SnubPoint& s = points[i];
        EXPECT_NEAR(std::stod(f[1]), s.point.x, 1e-14);
        EXPECT_NEAR(std::stod(f[2]), s.point.y, 1e-14);
        EXPECT_NEAR(std::stod(f[3]), s.point.z, 1e-14);
        EXPECT_EQ(f[4], std::to_string(s.sideCount));
        EXPECT_NEAR(std::stod(f[6]), s.distance, 1e-14 * s.distance);
    }
    // The face centre inside the triangle, then the three axes: on the equator z = 0 the
    // gnomonic picture shows neither a point nor its antipode; at the centre it does.
    EXPECT_EQ(fieldsOf(lines[3])[5], "+++");
    EXPECT_EQ(fieldsOf(lines[3])[6], "2.66666666666667");
    EXPECT_TRUE(lines[3].ends_with("(320, 71)")) << lines[3];
    EXPECT_TRUE(lines[4].ends_with("not shown")) << lines[4];
    EXPECT_TRUE(lines[5].ends_with("(320, 241)")) << lines[5];
    EXPECT_EQ(fieldsOf(lines[5])[1], "0");
    EXPECT_TRUE(lines[6].ends_with("not shown")) << lines[6];
}

TEST(SnubReport, NamesTheAntipodeWhenOnlyItIsShown) {
    const DrawRequest request = drawRequest().projection(Projection::gnomonic).scale(40.0);
    const DrawSetup setup = prepareDrawing(request);
    const std::vector<SnubPoint> points = findSnubPoints(setup.normals, setup.pi);
    const std::string report = snubReport(request, points);
    // Point 2 of the start-up triangle lies behind (z < 0); its antipode is in the picture.
    const std::vector<std::string> lines = linesOf(report);
    ASSERT_EQ(lines.size(), 7U);
    EXPECT_LT(points[1].point.z, 0.0);
    EXPECT_NE(lines[4].find("not shown (-P at ("), std::string::npos) << lines[4];
}

struct CoordinateCase {
    const char* name;
    double value;
    const char* text;
    friend void PrintTo(const CoordinateCase& c, std::ostream* os) { *os << c.name; }
};

class CoordinateText : public testing::TestWithParam<CoordinateCase> {};

// Fixed notation, never an exponent, to 15 significant digits; 0 below 5e-15.
TEST_P(CoordinateText, HasFifteenSignificantDigits) {
    EXPECT_EQ(detail::coordinateText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, CoordinateText,
    testing::Values(
        CoordinateCase{"Third", 1.0 / 3.0, "0.333333333333333"},
        CoordinateCase{"Negative", -0.9847319278346618, "-0.984731927834662"},
        CoordinateCase{"One", 1.0, "1"}, CoordinateCase{"MinusAHalf", -0.5, "-0.5"},
        CoordinateCase{"RoundingNoise", -1.2e-17, "0"}, CoordinateCase{"NegativeZero", -0.0, "0"},
        CoordinateCase{"JustBelowTheCut", 4.99e-15, "0"},
        CoordinateCase{"NegativeJustBelowTheCut", -4.99e-15, "0"},
        CoordinateCase{"AtTheCut", 5e-15, "0.000000000000005"},
        CoordinateCase{"FormerCut", 1e-14, "0.00000000000001"},
        CoordinateCase{"SmallButReal", 2.5e-13, "0.00000000000025"},
        CoordinateCase{"TinyNegative", -3.35971772578879e-11, "-0.0000000000335971772578879"},
        CoordinateCase{"BelowTheExponentForm", 6.88373327065936e-06, "0.00000688373327065936"},
        CoordinateCase{"RoundedIntoTheNextDecade", 9.99999999999999995e-5, "0.0001"},
        CoordinateCase{"FifteenDigitsOfATinyValue", 1.234567890123456789e-9,
                       "0.00000000123456789012346"}),
    RowName());

// The start of each field of a line: where a character follows a blank or the line's start.
std::vector<std::size_t> fieldStarts(const std::string& line) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != ' ' && (i == 0 || line[i - 1] == ' ')) {
            starts.push_back(i);
        }
    }
    return starts;
}

// Every value starts under its heading, however small a coordinate is: one as wide as fixed
// notation makes 3.36e-11 widens the coordinate columns of the whole listing.
TEST(SnubReport, AlignsEveryValueUnderItsHeading) {
    DrawRequest request;
    SnubPoint tiny;
    tiny.point = {6.88373327065936e-06, -0.999999999976307, -3.35971772578879e-11};
    tiny.signs = {1, 1, -1};
    tiny.sideCount = 2;
    tiny.distance = 1.99999999995253;
    SnubPoint plain;
    plain.point = {-0.0740213603939151, 0.5, 0.862856209461017};
    plain.signs = {0, 1, 1};
    plain.sideCount = 3;
    plain.distance = 1.0;
    const std::vector<std::string> lines = linesOf(snubReport(request, {plain, tiny}));
    ASSERT_EQ(lines.size(), 5U);
    const std::vector<std::size_t> headings = fieldStarts(lines[2]);
    ASSERT_EQ(headings.size(), 8U) << lines[2];  // #, x, y, z, k, signs, D, pixel
    for (std::size_t i = 3; i < lines.size(); ++i) {
        const std::vector<std::size_t> starts = fieldStarts(lines[i]);
        ASSERT_GE(starts.size(), headings.size()) << lines[i];
        for (std::size_t f = 1; f < headings.size(); ++f) {
            EXPECT_EQ(starts[f], headings[f]) << "field " << f << " of\n" << lines[i];
        }
    }
    EXPECT_NE(lines[4].find("-0.0000000000335971772578879  "), std::string::npos) << lines[4];
}

// Each column stands apart from the next even when a value fills its column: the widest
// coordinates, a D in exponent form and the side count after it.
TEST(SnubReport, KeepsColumnsApartForTheWidestValues) {
    DrawRequest request;
    SnubPoint s;
    s.point = {-0.00398375872829069, -0.202092683253659, -0.979358451750523};
    s.signs = {-1, 0, 1};
    s.sideCount = 3;
    s.distance = 1.52408075405837e-08;
    const std::vector<std::string> lines = linesOf(snubReport(request, {s}));
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(fieldsOf(lines[3]),
              (std::vector<std::string>{"1", "-0.00398375872829069", "-0.202092683253659",
                                        "-0.979358451750523", "3", "-0+", "1.52408075405837e-08",
                                        "not", "shown", "(-P", "at", "(320,", "216))"}))
        << lines[3];
}

}  // namespace
}  // namespace vantu::cli
