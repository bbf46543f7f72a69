// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/triangle_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>

#include "geometry/draw_error.h"
#include "setup/draw_request.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;

const double pi = std::atan(1.0) * 4.0;

TEST(Catalogue, HoldsTheFortyFourCodesInLabelOrder) {
    ASSERT_EQ(catalogue.size(), 44U);
    EXPECT_EQ(catalogue.front(), "300 2/1:3/1:3/1");
    EXPECT_EQ(catalogue[4], "311 3/2:3/2:3/2");
    EXPECT_EQ(catalogue[36], "571 5/4:5/4:5/4");
    EXPECT_EQ(catalogue.back(), "592 5/3:5/3:3/2");
    for (std::size_t i = 1; i < catalogue.size(); ++i) {
        EXPECT_LT(catalogue[i - 1].substr(0, 3), catalogue[i].substr(0, 3)) << catalogue[i];
    }
}

TEST(Catalogue, EveryCodeIsWellFormedAndASphericalTriangle) {
    for (const std::string_view code : catalogue) {
        SCOPED_TRACE(std::string(code));
        ASSERT_EQ(code.size(), 15U);
        EXPECT_EQ(code.substr(3, 1), " ");
        // The label's first digit is the largest divisor.
        const char largest = std::max({code[4], code[8], code[12]});
        EXPECT_EQ(code[0], largest);
        double sum = 0.0;
        for (const double angle : parseTriangleCode(code, pi)) {
            EXPECT_GT(angle, 0.0);
            EXPECT_LT(angle, pi);
            sum += angle;
        }
        EXPECT_GT(sum, pi);
        EXPECT_EQ(triangleDefect(code), std::nullopt);
    }
}

struct ParseCase {
    const char* name;
    std::string code;
    double p1, q1, p2, q2, p3, q3;
    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }
};

class ParseTriangleCode : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseTriangleCode, DividesThenMultiplies) {
    const ParseCase& c = GetParam();
    const CodeAngles angles = parseTriangleCode(c.code, pi);
    EXPECT_EQ(angles[0], (pi / c.p1) * c.q1);
    EXPECT_EQ(angles[1], (pi / c.p2) * c.q2);
    EXPECT_EQ(angles[2], (pi / c.p3) * c.q3);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ParseTriangleCode,
    testing::Values(ParseCase{"StartUp", "300 2/1:3/1:3/1", 2, 1, 3, 1, 3, 1},
                    ParseCase{"AllObtuse", "571 5/4:5/4:5/4", 5, 4, 5, 4, 5, 4},
                    // Only positions 5, 7, 9, 11, 13 and 15 are read.
                    ParseCase{"OtherLabel", "abc 2/1:3/1:3/1", 2, 1, 3, 1, 3, 1},
                    ParseCase{"OtherSeparators", "300x2x1x3x1x3x1", 2, 1, 3, 1, 3, 1},
                    ParseCase{"TextAfterTheCode", "300 2/1:3/1:3/1 and more 9/9", 2, 1, 3, 1, 3, 1},
                    ParseCase{"NoLabelAtAll", "    2 1 3 1 3 1", 2, 1, 3, 1, 3, 1},
                    ParseCase{"LabelWithAccents", "\xC3\xA9\xC3\xA9\xC3\xA9 2/1:3/1:3/1", 2, 1, 3,
                              1, 3, 1},
                    // Outside the catalogue's range, still read.
                    ParseCase{"SeventhOfAHalfTurn", "700 2/1:3/1:7/1", 2, 1, 3, 1, 7, 1},
                    ParseCase{"Straight", "000 2/2:3/1:3/1", 2, 2, 3, 1, 3, 1},
                    ParseCase{"Reflex", "000 3/4:9/8:3/1", 3, 4, 9, 8, 3, 1},
                    // Missing or non-digit multipliers read as 0.
                    ParseCase{"FourteenCharacters", "300 2/1:3/1:3/", 2, 1, 3, 1, 3, 0},
                    ParseCase{"LetterForQ1", "300 2/x:3/1:3/1", 2, 0, 3, 1, 3, 1},
                    ParseCase{"AccentForQ2", "300 2/1:3/\xC3\xA9:3/1", 2, 1, 3, 0, 3, 1}),
    RowName());

struct BadCode {
    const char* name;
    std::string code;
    std::string message;
    friend void PrintTo(const BadCode& c, std::ostream* os) { *os << c.name; }
};

class BadTriangleCode : public testing::TestWithParam<BadCode> {};

// Every message about a code that does not read as one ends with the form of a code.
const std::string codeHint =
    " (a code reads as a label, a blank and three fractions p/q, as in \"300 2/1:3/1:3/1\")";

TEST_P(BadTriangleCode, StopsAtTheFirstMissingDivisor) {
    const BadCode& c = GetParam();
    EXPECT_THROW_MSG((void)parseTriangleCode(c.code, pi), DrawError, c.message);
    try {
        (void)parseTriangleCode(c.code, pi);
    } catch (const DrawError& e) {
        EXPECT_EQ(e.kind(), FaultKind::divisionByZero);
        EXPECT_EQ(e.stage(), FaultStage::code);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, BadTriangleCode,
    testing::Values(
        BadCode{
            "Empty", "",
            "the triangle code has no divisor digit at position 5 (fraction 1): division by zero" +
                codeHint},
        BadCode{
            "FourCharacters", "300 ",
            "the triangle code has no divisor digit at position 5 (fraction 1): division by zero" +
                codeHint},
        BadCode{
            "LetterForP1", "300 x/1:3/1:3/1",
            "the triangle code has no divisor digit at position 5 (fraction 1): division by zero" +
                codeHint},
        BadCode{"ZeroForP1", "300 0/1:3/1:3/1",
                "the triangle code has the divisor 0 at position 5 (fraction 1): division by zero" +
                    codeHint},
        BadCode{
            "BlankForP2", "300 2/1: /1:3/1",
            "the triangle code has no divisor digit at position 9 (fraction 2): division by zero" +
                codeHint},
        BadCode{
            "TwelveCharacters", "300 2/1:3/1:",
            "the triangle code has no divisor digit at position 13 (fraction 3): division by zero" +
                codeHint},
        BadCode{
            "AccentForP3", "300 2/1:3/1:\xC3\xA9/1",
            "the triangle code has no divisor digit at position 13 (fraction 3): division by zero" +
                codeHint},
        BadCode{"SignForP3", "300 2/1:3/1:-/1",
                "the triangle code has no divisor digit at position 13 (fraction 3): division by "
                "zero" +
                    codeHint}),
    RowName());

TEST(CharacterAt, CountsCharactersNotBytes) {
    const std::string text =
        "a\xC3\xA9"
        "b\xE2\x82\xAC"
        "c";  // a é b € c
    EXPECT_EQ(detail::characterAt(text, 1), "a");
    EXPECT_EQ(detail::characterAt(text, 2), "\xC3\xA9");
    EXPECT_EQ(detail::characterAt(text, 3), "b");
    EXPECT_EQ(detail::characterAt(text, 4), "\xE2\x82\xAC");
    EXPECT_EQ(detail::characterAt(text, 5), "c");
    EXPECT_EQ(detail::characterAt(text, 6), "");
    // Stray continuation bytes and a truncated sequence count one character each.
    EXPECT_EQ(detail::characterAt("\x80\x80x", 3), "x");
    EXPECT_EQ(detail::characterAt("\xC3", 1), "\xC3");
}

struct DefectCase {
    const char* name;
    const char* code;
    const char* defect;               // in every geometry; null: a proper triangle
    const char* spherical = nullptr;  // on the sphere alone, where it differs
    friend void PrintTo(const DefectCase& c, std::ostream* os) { *os << c.name; }
};

class TriangleDefect : public testing::TestWithParam<DefectCase> {};

// The exact test on the fractions: equalities that rounding would tip either way are refused
// alike, and a triangle just inside every bound is not.
TEST_P(TriangleDefect, IsFoundExactly) {
    const DefectCase& c = GetParam();
    EXPECT_EQ(triangleDefect(c.code).value_or("none"), c.defect == nullptr ? "none" : c.defect);
    const char* spherical = c.spherical == nullptr ? c.defect : c.spherical;
    EXPECT_EQ(sphericalDefect(exactCodeFractions(c.code)).value_or("none"),
              spherical == nullptr ? "none" : spherical);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, TriangleDefect,
    testing::Values(
        DefectCase{"TwoSumToTheThirdPlusAHalfTurn", "999 3/2:3/2:3/1",
                   "the angles 120\u00b0, 120\u00b0, 60\u00b0 bound no proper spherical triangle: "
                   "120\u00b0 + 120\u00b0 is not less than 60\u00b0 + 180\u00b0"},
        DefectCase{"TheSameInAnotherOrder", "999 3/1:6/5:2/1",
                   "the angles 60\u00b0, 150\u00b0, 90\u00b0 bound no proper spherical triangle: "
                   "150\u00b0 + 90\u00b0 is not less than 60\u00b0 + 180\u00b0"},
        DefectCase{"SumOfAHalfTurn", "999 2/1:3/1:6/1", nullptr,
                   "the angles 90\u00b0, 60\u00b0, 30\u00b0 bound no proper spherical triangle: "
                   "their sum is not more than 180\u00b0"},
        DefectCase{"SumBelowAHalfTurn", "999 2/1:3/1:7/1", nullptr,
                   "the angles 90\u00b0, 60\u00b0, 25.71\u00b0 bound no proper spherical "
                   "triangle: their sum is not more than 180\u00b0"},
        DefectCase{"StraightAngle", "999 1/1:3/1:3/1",
                   "the angles 180\u00b0, 60\u00b0, 60\u00b0 bound no proper triangle: "
                   "180\u00b0 is not strictly between 0\u00b0 and 180\u00b0"},
        // Below a half turn with its other angles, but no triangle of a plane either.
        DefectCase{"ZeroAngle", "999 3/0:3/1:3/1",
                   "the angles 0\u00b0, 60\u00b0, 60\u00b0 bound no proper triangle: "
                   "0\u00b0 is not strictly between 0\u00b0 and 180\u00b0"},
        DefectCase{"ProperTriangle", "999 2/1:9/4:9/5", nullptr}),
    RowName());

// The file name of a picture, shared by the gallery and the window's "Save Picture As...".
struct FileNameRow {
    friend void PrintTo(const FileNameRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    std::string code;
    int rotation;
    bool reverse;
    Projection projection;
    std::string file;
};

const FileNameRow fileNameRows[] = {
    {"catalogueCode", "300 2/1:3/1:3/1", 0, false, Projection::stereographic, "300-r0-stereo.png"},
    {"reversed", "412 2/1:3/1:5/1", 2, true, Projection::gnomonic, "412-r2-rev-gnome.png"},
    {"noLabel", "2/1:3/1:3/1", 0, false, Projection::stereographic, "2_1_3_1_3_1-r0-stereo.png"},
    {"pathCharacters", "../x\\y", 0, false, Projection::stereographic, "___x_y-r0-stereo.png"},
    {"notAscii", "\u00e9t\u00e9 1/2", 1, true, Projection::gnomonic, "__t__-r1-rev-gnome.png"},
    {"empty", "", 0, false, Projection::orthographic, "picture-r0-ortho.png"},
    // Never a name that reads as an option.
    {"labelLikeAnOption", "-rf 2/1:3/1:3/1", 0, false, Projection::stereographic,
     "_rf-r0-stereo.png"},
    {"longLabel", std::string(40, '7'), 0, false, Projection::stereographic,
     std::string(32, '7') + "-r0-stereo.png"},
};

class PictureFileName : public ::testing::TestWithParam<FileNameRow> {};

TEST_P(PictureFileName, ComesFromLabelRotationReverseAndProjection) {
    const FileNameRow& row = GetParam();
    EXPECT_EQ(pictureFileName(drawRequest(row.code)
                                  .rotation(row.rotation)
                                  .reverse(row.reverse)
                                  .projection(row.projection)),
              row.file);
}

INSTANTIATE_TEST_SUITE_P(Names, PictureFileName, ::testing::ValuesIn(fileNameRows), RowName());

}  // namespace
}  // namespace vantu
