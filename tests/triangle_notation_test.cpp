// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The usual notation "p q r" beside the codes: the same drawing bit for bit, and the texts it
// refuses with the form it expects.
#include "setup/triangle_notation.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "geometry/draw_error.h"
#include "setup/draw_request.h"
#include "setup/triangle_facts.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;
using testing_support::schwarzRequest;

// "300 2/1:3/1:3/1" as "2 3 3", "511 5/3:3/2:3/1" as "5/3 3/2 3": the code's own digits.
std::string notationOfCode(std::string_view code) {
    std::string text;
    for (const int position : {4, 8, 12}) {
        if (!text.empty()) {
            text += ' ';
        }
        text += code[static_cast<std::size_t>(position)];
        if (code[static_cast<std::size_t>(position) + 2] != '1') {
            text += std::string("/") + code[static_cast<std::size_t>(position) + 2];
        }
    }
    return text;
}

TEST(SchwarzNotation, DrawsEveryCatalogueCodeBitForBit) {
    for (const std::string_view code : catalogue) {
        const std::string text = notationOfCode(code);
        EXPECT_EQ(notationOf(text), TriangleNotation::schwarz) << text;
        EXPECT_EQ(notationOf(code), TriangleNotation::code) << code;
        for (int rotation = 0; rotation < 3; ++rotation) {
            for (const bool reverse : {false, true}) {
                const DrawRequest byCode =
                    drawRequest(std::string(code)).rotation(rotation).reverse(reverse);
                const DrawRequest byNotation =
                    schwarzRequest(text).rotation(rotation).reverse(reverse);
                const DrawSetup a = prepareDrawing(byCode);
                const DrawSetup b = prepareDrawing(byNotation);
                EXPECT_EQ(a.normals, b.normals) << text << " rotation " << rotation;
                EXPECT_EQ(a.pi, b.pi);
            }
        }
        EXPECT_EQ(schwarzText(exactSchwarzFractions(text)), text);
        // A code has colons; any other text, well formed or not, is in the usual notation.
        EXPECT_EQ(notationOf(std::string(code.substr(0, 4)) + text), TriangleNotation::schwarz);
        EXPECT_EQ(schwarzFractions(text), codeFractions(code));
    }
}

// A drawing of `text` in the usual notation stops in `stage` with `message`.
void expectDrawingStops(const std::string& text, const std::string& message, FaultStage stage) {
    try {
        (void)prepareDrawing(schwarzRequest(text));
        ADD_FAILURE() << "drawn";
    } catch (const DrawError& e) {
        EXPECT_EQ(e.what(), message);
        EXPECT_EQ(e.stage(), stage);
    }
}

struct ReadCase {
    const char* name;
    std::string text;
    TriangleFractions fractions;
    friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }
};

class ReadsSchwarzNotation : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadsSchwarzNotation, IntoFractions) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(schwarzNotationFault(c.text), std::nullopt);
    EXPECT_EQ(schwarzFractions(c.text), c.fractions);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadsSchwarzNotation,
    testing::Values(ReadCase{"WholeNumbers", "2 3 5", {{{2, 1}, {3, 1}, {5, 1}}}},
                    ReadCase{"AStar", "5/2 3 3", {{{5, 2}, {3, 1}, {3, 1}}}},
                    ReadCase{"BlanksAndTabsAround", " \t2  3\t\t4 ", {{{2, 1}, {3, 1}, {4, 1}}}},
                    ReadCase{"LeadingZeros", "002 03/01 3", {{{2, 1}, {3, 1}, {3, 1}}}},
                    ReadCase{"TwoDigits", "2 2 12/5", {{{2, 1}, {2, 1}, {12, 5}}}},
                    ReadCase{"BeyondTwoToThe53",
                             "2 2 123456789012345678901234567890",
                             {{{2, 1}, {2, 1}, {123456789012345678901234567890.0, 1}}}},
                    // Read as written; triangleDefect says what is wrong with them as angles.
                    ReadCase{"AStraightAngle", "2/2 3 3", {{{2, 2}, {3, 1}, {3, 1}}}}),
    RowName());

// The drawing takes the nearest doubles; what is said of the triangle keeps every digit.
TEST(SchwarzNotation, WritesItsNumbersBackExactly) {
    const std::string beyond = "9007199254740993/4503599627370497 2 2";
    EXPECT_EQ(schwarzFractions(beyond)[0], (AngleFraction{9007199254740992.0, 4503599627370497.0}));
    EXPECT_EQ(schwarzText(exactSchwarzFractions(beyond)), beyond);
    EXPECT_EQ(schwarzText(exactSchwarzFractions(" 002 03/01\t3")), "2 3 3");
}

struct RefusedCase {
    const char* name;
    std::string text;
    std::string fault;    // between the quoted text and the form
    std::string shown{};  // the text as the message quotes it, when not as it stands
    friend void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }
};

class RefusesSchwarzNotation : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusesSchwarzNotation, WithTheFormItExpects) {
    const RefusedCase& c = GetParam();
    const std::string message =
        "the triangle \"" + (c.shown.empty() ? c.text : c.shown) + "\" " + c.fault +
        " (the usual notation is three numbers p q r separated by blanks, each a whole number n "
        "or a fraction n/d, as in \"2 3 3\" or \"5/2 3 3\")";
    EXPECT_EQ(schwarzNotationFault(c.text).value_or("accepted"), message);
    expectDrawingStops(c.text, message, FaultStage::code);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusesSchwarzNotation,
    testing::Values(RefusedCase{"Empty", "", "is empty"},
                    RefusedCase{"Blanks", "  \t ", "is empty", "  \\u0009 "},
                    RefusedCase{"OneNumber", "235", "has 1 number, not 3"},
                    RefusedCase{"TwoNumbers", "2 3", "has 2 numbers, not 3"},
                    RefusedCase{"FourNumbers", "2 3 5 7", "has 4 numbers, not 3"},
                    RefusedCase{"AZero", "2 0 3", "has a zero in \"0\""},
                    RefusedCase{"ZeroesOnly", "2 3 000", "has a zero in \"000\""},
                    RefusedCase{"ZeroMultiplier", "2 3 5/0", "has a zero in \"5/0\""},
                    RefusedCase{"ZeroDivisor", "0/5 3 3", "has a zero in \"0/5\""},
                    RefusedCase{"AMinus", "-2 3 3", "has the sign \"-\""},
                    RefusedCase{"APlus", "2 +3 3", "has the sign \"+\""},
                    RefusedCase{"ASecondSlash", "5/2/1 3 3", "has a second slash in \"5/2/1\""},
                    RefusedCase{"NoDenominator", "5/ 3 3",
                                "has a slash without a number on each side in \"5/\""},
                    RefusedCase{"NoNumerator", "2 /3 3",
                                "has a slash without a number on each side in \"/3\""},
                    RefusedCase{"Letters", "two 3 3", "has the letter \"t\""},
                    RefusedCase{"ACode", "300 2/1;3/1;3/1", "has the character \";\""},
                    RefusedCase{"Commas", "2,3,5", "has a comma"},
                    RefusedCase{"ADecimalPoint", "2.5 3 3", "has the character \".\""},
                    RefusedCase{"NotAscii", "2 3 \u03c0", "has the character \"\u03c0\""},
                    RefusedCase{"BeyondDoubles", "2 3 1" + std::string(400, '0'),
                                "has a number beyond the range of numbers in \"1" +
                                    std::string(39, '0') + "...\"",
                                "2 3 1" + std::string(35, '0') + "..."}),
    RowName());

TEST(SchwarzNotation, QuotesTheTextCutAndEscaped) {
    const std::string longText =
        schwarzNotationFault("2 3 3 " + std::string(50, '7')).value_or("accepted");
    EXPECT_TRUE(longText.starts_with("the triangle \"2 3 3 " + std::string(34, '7') +
                                     "...\" has 4 numbers, not 3 (the usual"))
        << longText;
    const std::string lineBreak = schwarzNotationFault("2 3\n3").value_or("accepted");
    EXPECT_TRUE(lineBreak.starts_with(
        "the triangle \"2 3\\u000A3\" has the character \"\\u000A\" (the usual"))
        << lineBreak;
}

struct DefectCase {
    const char* name;
    const char* text;
    const char* defect;               // in every geometry; null: a proper triangle
    const char* spherical = nullptr;  // on the sphere alone, where it differs
    friend void PrintTo(const DefectCase& c, std::ostream* os) { *os << c.name; }
};

class SchwarzDefect : public testing::TestWithParam<DefectCase> {};

// The check of --snub, exact on the fractions however many digits they have; a drawing in the
// usual notation stops at it, before the mirrors are solved. The sphere alone also refuses the
// triangles of the planes.
TEST_P(SchwarzDefect, IsFoundExactly) {
    const DefectCase& c = GetParam();
    const std::optional<std::string> defect = triangleDefect(c.text, TriangleNotation::schwarz);
    EXPECT_EQ(defect.value_or("none"), c.defect == nullptr ? "none" : c.defect);
    if (c.defect != nullptr) {
        expectDrawingStops(c.text, c.defect, FaultStage::triangle);
    }
    const char* spherical = c.spherical == nullptr ? c.defect : c.spherical;
    EXPECT_EQ(sphericalDefect(c.text, TriangleNotation::schwarz).value_or("none"),
              spherical == nullptr ? "none" : spherical);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SchwarzDefect,
    testing::Values(
        DefectCase{"Icosahedral", "2 3 5", nullptr},
        DefectCase{"Hyperbolic", "2 3 7", nullptr,
                   "the angles 90\u00b0, 60\u00b0, 25.71\u00b0 bound no proper spherical triangle: "
                   "their sum is not more than 180\u00b0"},
        DefectCase{"Euclidean", "3 3 3", nullptr,
                   "the angles 60\u00b0, 60\u00b0, 60\u00b0 bound no proper spherical triangle: "
                   "their sum is not more than 180\u00b0"},
        DefectCase{"AHalfTurn", "1 3 3",
                   "the angles 180\u00b0, 60\u00b0, 60\u00b0 bound no proper triangle: "
                   "180\u00b0 is not strictly between 0\u00b0 and 180\u00b0"},
        DefectCase{"Reflex", "2 2 3/4",
                   "the angles 90\u00b0, 90\u00b0, 240\u00b0 bound no proper triangle: "
                   "240\u00b0 is not strictly between 0\u00b0 and 180\u00b0"},
        DefectCase{"TwoTooWide", "3/2 3/2 3",
                   "the angles 120\u00b0, 120\u00b0, 60\u00b0 bound no proper spherical triangle: "
                   "120\u00b0 + 120\u00b0 is not less than 60\u00b0 + 180\u00b0"},
        // 1/2 + 1/3 + 1/5.999999999999999 exceeds 1 by 3e-17 of a half turn, which no double
        // of the angles' sum shows.
        DefectCase{"JustAboveAHalfTurn", "2 3 5999999999999999/1000000000000000", nullptr},
        DefectCase{"JustBelowAHalfTurn", "2 3 6000000000000001/1000000000000000", nullptr,
                   "the angles 90\u00b0, 60\u00b0, 30\u00b0 bound no proper spherical triangle: "
                   "their sum is not more than 180\u00b0"},
        DefectCase{"AHugeDihedral", "2 2 123456789012345678901234567890", nullptr},
        // Beyond 2^53, where the nearest doubles of 5999999999999999999 and 6 times 10^18 are
        // one, and the angles' sum of the doubles is a half turn.
        DefectCase{"JustAboveAHalfTurnBeyondDoubles", "2 3 5999999999999999999/1000000000000000000",
                   nullptr},
        DefectCase{"JustBelowAHalfTurnBeyondDoubles", "2 3 6000000000000000001/1000000000000000000",
                   nullptr,
                   "the angles 90\u00b0, 60\u00b0, 30\u00b0 bound no proper spherical triangle: "
                   "their sum is not more than 180\u00b0"}),
    RowName());

struct GeometryCase {
    const char* name;
    const char* text;
    Geometry geometry;
    const char* code = nullptr;  // the same triangle as a code, which the sphere refuses
    friend void PrintTo(const GeometryCase& c, std::ostream* os) { *os << c.name; }
};

class TriangleGeometry : public testing::TestWithParam<GeometryCase> {};

// The sign of the angles' sum less a half turn, exact however near to zero it is, the same for
// the fractions in any order. The usual notation solves the triangle in its geometry; its code,
// solved on the sphere, faults with where the usual notation draws it.
TEST_P(TriangleGeometry, IsDecidedExactly) {
    const GeometryCase& c = GetParam();
    ExactFractions f = exactSchwarzFractions(c.text);
    for (int turn = 0; turn < 3; ++turn) {
        EXPECT_EQ(triangleGeometry(f), c.geometry) << geometryName(triangleGeometry(f));
        f = permuted(f, 1, turn == 1);
    }
    if (c.code == nullptr) {
        return;
    }
    EXPECT_EQ(prepareDrawing(schwarzRequest(c.text).rotation(1).reverse(true)).geometry,
              c.geometry);
    try {
        (void)prepareDrawing(drawRequest(c.code));
        ADD_FAILURE() << "no fault";
    } catch (const DrawError& e) {
        EXPECT_TRUE(std::string(e.what()).ends_with(
            "; in the usual notation, \"" + std::string(c.text) + "\" draws it in the " +
            std::string(geometryName(c.geometry)) + " plane"))
            << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TriangleGeometry,
    testing::Values(
        GeometryCase{"Icosahedral", "2 3 5", Geometry::spherical},
        GeometryCase{"StarOnTheSphere", "5/2 3 3", Geometry::spherical},
        GeometryCase{"Unreduced", "4/2 6/2 9/3", Geometry::spherical},
        GeometryCase{"Hexagonal", "2 3 6", Geometry::euclidean},
        GeometryCase{"Square", "2 4 4", Geometry::euclidean, "244 2/1:4/1:4/1"},
        GeometryCase{"TwoHexagonalTriangles", "3/2 6 6", Geometry::euclidean},
        GeometryCase{"EuclideanUnreduced", "2 3 6000000000000000/1000000000000000",
                     Geometry::euclidean},
        GeometryCase{"Heptagonal", "2 3 7", Geometry::hyperbolic, "700 2/1:3/1:7/1"},
        GeometryCase{"StarInThePlane", "5/2 4 4", Geometry::hyperbolic, "544 5/2:4/1:4/1"},
        GeometryCase{"JustAboveAHalfTurn", "2 3 5999999999999999/1000000000000000",
                     Geometry::spherical},
        GeometryCase{"JustBelowAHalfTurn", "2 3 6000000000000001/1000000000000000",
                     Geometry::hyperbolic},
        // Where the nearest doubles of 5999999999999999999 and 6 times 10^18 are one.
        GeometryCase{"JustAboveBeyondDoubles", "2 3 5999999999999999999/1000000000000000000",
                     Geometry::spherical},
        GeometryCase{"JustBelowBeyondDoubles", "2 3 6000000000000000001/1000000000000000000",
                     Geometry::hyperbolic}),
    RowName());

struct ThinCase {
    const char* name;
    const char* text;
    const char* angles;  // in the order of the text
    friend void PrintTo(const ThinCase& c, std::ostream* os) { *os << c.name; }
};

class ThinTriangle : public testing::TestWithParam<ThinCase> {};

// A proper triangle, exactly, whose angles as doubles lie too near a degenerate one for its
// mirrors to be solved: the drawing and the facts stop with one message, whichever way round,
// naming the triangle as written.
TEST_P(ThinTriangle, IsTooThinToDraw) {
    const ThinCase& c = GetParam();
    EXPECT_EQ(triangleDefect(c.text, TriangleNotation::schwarz), std::nullopt);
    const std::string message = "the triangle \"" + std::string(c.text) +
                                "\" is too thin to draw: its angles " + c.angles +
                                " lie too near those of no triangle for its mirrors to be solved";
    for (const bool reverse : {false, true}) {
        const DrawRequest request = schwarzRequest(c.text).reverse(reverse);
        EXPECT_THROW_MSG((void)prepareDrawing(request), DrawError, message);
        EXPECT_THROW_MSG((void)triangleFacts(request), DrawError, message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ThinTriangle,
    testing::Values(ThinCase{"PrismOfABillion", "2 2 1000000000", "90\u00b0, 90\u00b0, 0\u00b0"},
                    ThinCase{"JustAboveAHalfTurn", "2 3 5999999999999999/1000000000000000",
                             "90\u00b0, 60\u00b0, 30\u00b0"},
                    ThinCase{"JustAboveAHalfTurnBeyondDoubles",
                             "2 3 59999999999999999/10000000000000000",
                             "90\u00b0, 60\u00b0, 30\u00b0"}),
    RowName());

TEST(SchwarzNotation, NamesItsPictureFileByItsNumbers) {
    DrawRequest request = schwarzRequest(" 5/2  3\t3 ").rotation(1);
    EXPECT_EQ(pictureFileName(request), "5_2-3-3-r1-stereo.png");
    request.triangleCode = "";
    EXPECT_EQ(pictureFileName(request), "picture-r1-stereo.png");
}

}  // namespace
}  // namespace vantu
