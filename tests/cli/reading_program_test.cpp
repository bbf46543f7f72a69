// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu-render's reading of the picture, run as a user runs it: the usual notation with
// --triangle, the triangle's facts with --info, and the marks over pictures, runs, turntables and
// the gallery.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "drawing/draw_procedure.h"
#include "drawing/picture_overlay.h"
#include "setup/triangle_facts.h"
#include "setup/triangle_notation.h"
#include "tests/picture_support.h"
#include "tests/png_file.h"
#include "tests/run_program.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;
using testing_support::schwarzRequest;

namespace fs = std::filesystem;
using testing_support::DecodedPng;
using testing_support::Outcome;
using testing_support::readPng;
using testing_support::slurp;

Outcome render(const std::vector<std::string>& args) {
    return testing_support::runProgram(VANTU_RENDER, args);
}

const std::string tryHelp = "Try 'vantu-render --help' for more information.\n";

struct MalformedCase {
    const char* name;
    std::string text;
    std::string fault;  // between the quoted text and the form
    friend void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }
};

class MalformedTriangle : public testing::TestWithParam<MalformedCase> {};

// Refused as the command line is read, before anything else, with the form it expects.
TEST_P(MalformedTriangle, ExitsTwoShowingTheNotation) {
    const MalformedCase& c = GetParam();
    const Outcome o = render({"--triangle", c.text, "-o", "never.png"});
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "vantu-render: --triangle: the triangle \"" + c.text + "\" " + c.fault + " " +
                         std::string(schwarzForm) + "\n" + tryHelp);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MalformedTriangle,
    testing::Values(MalformedCase{"Empty", "", "is empty"},
                    MalformedCase{"TwoNumbers", "2 3", "has 2 numbers, not 3"},
                    MalformedCase{"FourNumbers", "2 3 3 3", "has 4 numbers, not 3"},
                    MalformedCase{"AZero", "2 3 0", "has a zero in \"0\""},
                    MalformedCase{"AMinus", "-2 3 3", "has the sign \"-\""},
                    MalformedCase{"APlus", "2 +3 3", "has the sign \"+\""},
                    MalformedCase{"ASecondSlash", "2 3 5/2/1", "has a second slash in \"5/2/1\""},
                    MalformedCase{"Letters", "2 3 five", "has the letter \"f\""},
                    MalformedCase{"Commas", "2,3,3", "has a comma"},
                    MalformedCase{"ACode", "300 2/1:3/1:3/1", "has the character \":\""}),
    RowName());

struct SameDrawingCase {
    const char* name;
    std::string triangle;
    std::string code;
    std::vector<std::string> args;  // besides the triangle
    friend void PrintTo(const SameDrawingCase& c, std::ostream* os) { *os << c.name; }
};

class TriangleAndCode : public testing::TestWithParam<SameDrawingCase> {};

// The same angles in either notation make the same file, byte for byte.
TEST_P(TriangleAndCode, DrawTheSamePicture) {
    const SameDrawingCase& c = GetParam();
    const fs::path folder = testing_support::scratchFolder(std::string("same-") + c.name);
    std::vector<std::string> byTriangle = {"--triangle", c.triangle, "-o",
                                           (folder / "t.png").string()};
    std::vector<std::string> byCode = {"--code", c.code, "-o", (folder / "c.png").string()};
    byTriangle.insert(byTriangle.end(), c.args.begin(), c.args.end());
    byCode.insert(byCode.end(), c.args.begin(), c.args.end());
    const Outcome t = render(byTriangle);
    const Outcome k = render(byCode);
    ASSERT_EQ(t.status, 0) << t.err;
    ASSERT_EQ(k.status, 0) << k.err;
    const std::string picture = slurp((folder / "c.png").string());
    EXPECT_EQ(readPng((folder / "c.png").string()).problem, "");
    EXPECT_TRUE(slurp((folder / "t.png").string()) == picture);
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Triangles, TriangleAndCode,
    testing::Values(SameDrawingCase{"StartUp", "2 3 3", "300 2/1:3/1:3/1", {}},
                    SameDrawingCase{"TurnedAndFine",
                                    "5/3 3/2 3",
                                    "511 5/3:3/2:3/1",
                                    {"--rotation", "1", "--reverse", "--projection", "gnome",
                                     "--view", "30,-15,5", "--zoom", "1.5", "--antialias", "2"}},
                    SameDrawingCase{"Marked",
                                    "2 3 4",
                                    "400 2/1:3/1:4/1",
                                    {"--mark-mirrors", "--mark-snub", "--size", "160x120"}}),
    RowName());

struct DefectCase {
    const char* name;
    std::vector<std::string> args;
    std::string message;
    friend void PrintTo(const DefectCase& c, std::ostream* os) { *os << c.name; }
};

const std::string hyperbolic =
    "the angles 90\u00b0, 60\u00b0, 25.71\u00b0 bound no proper spherical triangle: their sum "
    "is not more than 180\u00b0";

const std::string thin =
    "the triangle \"2 2 1000000000\" is too thin to draw: its angles 90\u00b0, 90\u00b0, 0\u00b0 "
    "lie too near those of no triangle for its mirrors to be solved";

class NoProperTriangle : public testing::TestWithParam<DefectCase> {};

// Angles that bound no triangle, and what the planes do not have yet: status 1, the message and
// nothing written.
TEST_P(NoProperTriangle, ExitsOneWithTheDefect) {
    const DefectCase& c = GetParam();
    const fs::path folder = testing_support::scratchFolder(std::string("defect-") + c.name);
    std::vector<std::string> args = c.args;
    for (std::string& arg : args) {
        if (arg == "FILE") {
            arg = (folder / "x.png").string();
        }
    }
    const Outcome o = render(args);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "vantu-render: " + c.message + "\n");
    EXPECT_TRUE(testing_support::namesIn(folder).empty());
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, NoProperTriangle,
    testing::Values(
        DefectCase{"Info",
                   {"--triangle", "1 3 3", "--info"},
                   "the angles 180\u00b0, 60\u00b0, 60\u00b0 bound no proper triangle: "
                   "180\u00b0 is not strictly between 0\u00b0 and 180\u00b0"},
        DefectCase{"MarkedPicture",
                   {"--triangle", "3/2 3/2 3", "--mark-mirrors", "-o", "FILE"},
                   "the angles 120\u00b0, 120\u00b0, 60\u00b0 bound no proper spherical triangle: "
                   "120\u00b0 + 120\u00b0 is not less than 60\u00b0 + 180\u00b0"},
        // A code is drawn as it reads, as the window draws it; only its snub points need a
        // proper triangle.
        DefectCase{"CodeMarkedWithSnubPoints",
                   {"--code", "700 2/1:3/1:7/1", "--mark-snub", "-o", "FILE"},
                   hyperbolic + "; its hues meet at no definite points"},
        // A code is solved on the sphere: a plane's code has no facts, and says where the usual
        // notation draws it.
        DefectCase{"InfoOfAPlanesCode",
                   {"--info", "--code", "333 3/1:3/1:3/1"},
                   "the angles 60\u00b0, 60\u00b0, 60\u00b0 bound no proper spherical triangle: "
                   "their sum is not more than 180\u00b0; in the usual notation, \"3 3 3\" "
                   "draws it in the Euclidean plane"},
        // A proper triangle too thin to draw: the same words for its facts and its picture.
        DefectCase{"ThinInfo", {"--triangle", "2 2 1000000000", "--info"}, thin},
        DefectCase{
            "ThinPicture", {"--reverse", "--triangle", "2 2 1000000000", "-o", "FILE"}, thin},
        // A malformed code's message ends with the form of a code.
        DefectCase{"InfoOfAMalformedCode",
                   {"--info", "--code", "300 2/1:3/1:x/1"},
                   "the triangle code has no divisor digit at position 13 (fraction 3): division "
                   "by zero (a code reads as a label, a blank and three fractions p/q, as in "
                   "\"300 2/1:3/1:3/1\")"}),
    RowName());

TEST(StartUpInfo, PrintsTheFactsOfTheTetrahedralTriangle) {
    const std::string facts =
        "triangle: (2 3 3)\n"
        "geometry: spherical\n"
        "angles: 90\u00b0, 60\u00b0, 60\u00b0 (\u03c0/2, \u03c0/3, \u03c0/3)\n"
        "sides: 70.53\u00b0, 54.74\u00b0, 54.74\u00b0\n"
        "area: 0.523599 sr, 1/24 of the sphere\n"
        "group: tetrahedral; the mirrors of the regular tetrahedron\n"
        "order: 24\n"
        "mirrors: 6\n"
        "density: 1\n";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--info"}, {"--info", "--triangle", "2 3 3"}}) {
        const Outcome o = render(args);
        EXPECT_EQ(o.status, 0);
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(o.out, facts);
    }
}

struct InfoCase {
    const char* name;
    std::vector<std::string> args;
    DrawRequest request;
    friend void PrintTo(const InfoCase& c, std::ostream* os) { *os << c.name; }
};

class Info : public testing::TestWithParam<InfoCase> {};

// The facts of the triangle the command line describes, in its order of the vertices.
TEST_P(Info, PrintsTheFactsOfTheTriangleAsTurned) {
    const InfoCase& c = GetParam();
    const Outcome o = render(c.args);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.out, factLines(triangleFacts(c.request)));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Info,
    testing::Values(InfoCase{"CodeRotated",
                             {"--info", "--code", "511 5/3:3/2:3/1", "--rotation", "1"},
                             drawRequest("511 5/3:3/2:3/1").rotation(1)},
                    InfoCase{"TriangleReversed",
                             {"--reverse", "--info", "--triangle", "5/2 3 3", "--rotation", "2"},
                             schwarzRequest("5/2 3 3").rotation(2).reverse()},
                    // The planes' triangles, which no picture draws yet, have their facts.
                    InfoCase{"Hyperbolic",
                             {"--info", "--triangle", "5/2 4 4", "--rotation", "1"},
                             schwarzRequest("5/2 4 4").rotation(1)},
                    InfoCase{
                        "Euclidean", {"--info", "--triangle", "2 3 6"}, schwarzRequest("2 3 6")}),
    RowName());

// What each pixel of a marked picture must be: the plain picture with the marks painted over it.
std::vector<PackedColour> markedPicture(const PictureDescription& d, const OverlayOptions& marks) {
    const DrawSetup plain = prepareDrawing(d.request);
    const DrawSetup setup = turnedSetup(plain, d.view);
    const FinePicture picture = finePictureOf(d, setup);
    const auto width = static_cast<std::size_t>(picture.width());
    std::vector<PackedColour> pixels(width * static_cast<std::size_t>(picture.height()));
    for (int row = 0; row < picture.height(); ++row) {
        picture.renderRow(row,
                          std::span(pixels).subspan(static_cast<std::size_t>(row) * width, width));
    }
    pictureOverlay(d, setup, marks, triangleMarks(d.request, plain, marks)).overlay.paint(pixels);
    return pixels;
}

struct MarkCase {
    const char* name;
    std::vector<std::string> args;  // the marks and whatever else the picture takes
    OverlayOptions marks;
    PictureDescription description;
    friend void PrintTo(const MarkCase& c, std::ostream* os) { *os << c.name; }
};

PictureDescription small(const char* code, View view) {
    PictureDescription d;
    d.request.triangleCode = code;
    d.request.scale = 50.0;
    d.view = view;
    d.size = {160, 120};
    return d;
}

class MarkedPng : public testing::TestWithParam<MarkCase> {};

// A picture with marks is in RGB, and is the plain picture with the overlays of the drawing
// painted over it where its view puts them.
TEST_P(MarkedPng, IsThePictureWithItsOverlays) {
    const MarkCase& c = GetParam();
    const fs::path folder = testing_support::scratchFolder(std::string("marked-") + c.name);
    const std::string file = (folder / "m.png").string();
    std::vector<std::string> args = {
        "--code", c.description.request.triangleCode, "--scale", "50", "--size", "160x120", "-o",
        file};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome o = render(args);
    ASSERT_EQ(o.status, 0) << o.err;
    const DecodedPng png = readPng(file);
    ASSERT_EQ(png.problem, "");
    EXPECT_EQ(png.colourType, SPNG_COLOR_TYPE_TRUECOLOR);
    const std::vector<PackedColour> expected = markedPicture(c.description, c.marks);
    EXPECT_TRUE(png.pixels == expected);
    EXPECT_FALSE(png.pixels == markedPicture(c.description, {})) << "some mark is drawn";
    fs::remove_all(folder);
}

OverlayOptions marksOf(bool mirrors, bool group, bool triangle, bool snub) {
    return {mirrors, group, triangle, snub};
}

INSTANTIATE_TEST_SUITE_P(Marks, MarkedPng,
                         testing::Values(MarkCase{"Mirrors",
                                                  {"--mark-mirrors"},
                                                  marksOf(true, false, false, false),
                                                  small("300 2/1:3/1:3/1", {})},
                                         MarkCase{"GroupTurned",
                                                  {"--mark-group", "--view", "20,-30,10"},
                                                  marksOf(false, true, false, false),
                                                  small("400 2/1:3/1:4/1", {20, -30, 10})},
                                         MarkCase{"TriangleAndSnubPointsFine",
                                                  {"--mark-snub", "--mark-triangle", "--zoom",
                                                   "1.5", "--antialias", "2"},
                                                  marksOf(false, false, true, true),
                                                  [] {
                                                      PictureDescription d =
                                                          small("500 2/1:3/1:5/1", {});
                                                      d.sampling = {1.5, 2};
                                                      return d;
                                                  }()},
                                         MarkCase{"EveryMarkBesideTheRuns",
                                                  {"--runs", "--mark-mirrors", "--mark-group",
                                                   "--mark-triangle", "--mark-snub"},
                                                  marksOf(true, true, true, true),
                                                  small("300 2/1:3/1:3/1", {})}),
                         RowName());

// The runs listed are the drawing's own: the marks go into the picture file only.
TEST(MarkedRuns, ListTheDrawingUnmarked) {
    const fs::path folder = testing_support::scratchFolder("marked-runs");
    const Outcome plain = render({"--runs"});
    const Outcome marked =
        render({"--runs", "--mark-mirrors", "--mark-snub", "-o", (folder / "m.png").string()});
    ASSERT_EQ(marked.status, 0) << marked.err;
    EXPECT_FALSE(plain.out.empty());
    EXPECT_TRUE(marked.out == plain.out);
    fs::remove_all(folder);
}

// Each frame of a marked turntable has the marks of its own view, as a marked still of it has.
TEST(MarkedTurntable, FramesAreMarkedStillsOfTheirViews) {
    const fs::path folder = testing_support::scratchFolder("marked-turntable");
    const std::vector<std::string> drawing = {"--size", "96x72",          "--scale",
                                              "30",     "--mark-mirrors", "--mark-triangle"};
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), drawing.begin(), drawing.end());
        return args;
    };
    const std::string frames = (folder / "frames").string() + "/";
    const Outcome o = render(with({"--turntable", "2", "--view", "10,20,0", "-o", frames}));
    ASSERT_EQ(o.status, 0) << o.err;
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        const std::string still = (folder / ("still" + std::to_string(k) + ".png")).string();
        ASSERT_EQ(
            render(with({"--view", std::to_string(10 + 180 * k) + ",20,0", "-o", still})).status,
            0);
        const DecodedPng frame = readPng(frames + "000" + std::to_string(k) + ".png");
        ASSERT_EQ(frame.problem, "");
        EXPECT_EQ(frame.colourType, SPNG_COLOR_TYPE_TRUECOLOR);
        EXPECT_TRUE(frame.pixels == readPng(still).pixels);
    }
    fs::remove_all(folder);
}

// Every picture of a marked gallery is marked, as the same picture drawn alone with -o.
TEST(MarkedGallery, PicturesAreMarkedAsStills) {
    const fs::path folder = testing_support::scratchFolder("marked-gallery");
    const std::vector<std::string> drawing = {"--size", "64x48", "--scale", "20", "--mark-group"};
    std::vector<std::string> gallery = {"--gallery", (folder / "g").string()};
    gallery.insert(gallery.end(), drawing.begin(), drawing.end());
    const Outcome o = render(gallery);
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string still = (folder / "still.png").string();
    std::vector<std::string> alone = {"--code", "540 5/3:3/1:5/1", "--projection", "ortho", "-o",
                                      still};
    alone.insert(alone.end(), drawing.begin(), drawing.end());
    ASSERT_EQ(render(alone).status, 0);
    const DecodedPng picture = readPng((folder / "g" / "540-r0-ortho.png").string());
    ASSERT_EQ(picture.problem, "");
    EXPECT_TRUE(picture.pixels == readPng(still).pixels);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace vantu
