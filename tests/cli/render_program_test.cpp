// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu-render run as a user runs it: exit statuses and messages, --help and --version, the run
// list, the PNG at any sampling and after a fault, the snub points, the progress bar, and the
// hostile inputs of tests/bad_inputs.h.

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "drawing/draw_procedure.h"
#include "geometry/projection.h"
#include "options/picture_options.h"
#include "polyhedron/wythoff.h"
#include "render/image_sink.h"
#include "setup/draw_request.h"
#include "tests/bad_inputs.h"
#include "tests/checking_sink.h"
#include "tests/picture_support.h"
#include "tests/png_file.h"
#include "tests/run_program.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::drawRequest;

using testing_support::DecodedPng;
using testing_support::Outcome;
using testing_support::readPng;
using testing_support::slurp;

Outcome render(const std::vector<std::string>& args) {
    return testing_support::runProgram(VANTU_RENDER, args);
}

std::string scratch(const std::string& name) {
    return testing::TempDir() + "vantu-render-" + std::to_string(::getpid()) + "-" + name;
}

const std::string tryHelp = "Try 'vantu-render --help' for more information.\n";

// The core's words for a triangle with no polyhedron, and for a snub point it lacks.
const std::string denseGroup =
    "the triangle (2 3 7/2) has no polyhedron: the images of the triangle are dense on the sphere";
const std::string hemiDual = "the polyhedron has a face through its centre: it has no finite dual";
const std::string noSnubPoint99 = "the triangle (2 3 3) has 4 snub points, no point 99";

struct StatusCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err;  // exact
    friend void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }
};

class ExitStatus : public testing::TestWithParam<StatusCase> {};

TEST_P(ExitStatus, ComesWithItsMessage) {
    const StatusCase& c = GetParam();
    const Outcome o = render(c.args);
    EXPECT_EQ(o.status, c.status);
    EXPECT_EQ(o.err, c.err);
    if (c.status != 0) {
        EXPECT_EQ(o.out, "") << "nothing is printed before a fault in the set-up";
    }
}

// The picture file's type from its name, the turntable's values, and what each combination
// takes.
const std::string turntableNames =
    "vantu-render: --turntable writes an animated WebP (a name ending in .webp) or a folder of "
    "PNG frames (a name ending in /), not ";

INSTANTIATE_TEST_SUITE_P(
    PictureFiles, ExitStatus,
    testing::Values(
        StatusCase{"UnknownType",
                   {"-o", "x.svg"},
                   2,
                   "vantu-render: cannot tell the picture type of 'x.svg': use a name ending in "
                   ".png or .webp\n" +
                       tryHelp},
        StatusCase{"NoType",
                   {"--runs", "-o", "picture"},
                   2,
                   "vantu-render: cannot tell the picture type of 'picture': use a name ending in "
                   ".png or .webp\n" +
                       tryHelp},
        StatusCase{"FolderWithoutTurntable",
                   {"-o", "frames/"},
                   2,
                   "vantu-render: cannot tell the picture type of 'frames/': use a name ending in "
                   ".png or .webp\n" +
                       tryHelp},
        StatusCase{"WebpTooWide",
                   {"-o", "big.webp", "--size", "16384x2"},
                   2,
                   "vantu-render: -o 'big.webp' takes a WebP of at most 16383 pixels on a side, "
                   "not 16384 x 2: give a smaller --size or --zoom\n" +
                       tryHelp},
        StatusCase{"WebpTooTallWhenZoomed",
                   {"--turntable", "2", "-o", "big.webp", "--size", "3x8192", "--zoom", "2"},
                   2,
                   "vantu-render: -o 'big.webp' takes a WebP of at most 16383 pixels on a side, "
                   "not 6 x 16384: give a smaller --size or --zoom\n" +
                       tryHelp},
        StatusCase{"NoFrames",
                   {"--turntable", "0", "-o", "t.webp"},
                   2,
                   "vantu-render: --turntable: must be a whole number from 1 to 3600, not '0'\n" +
                       tryHelp},
        StatusCase{"TooManyFrames",
                   {"--turntable", "3601", "-o", "t.webp"},
                   2,
                   "vantu-render: --turntable: must be a whole number from 1 to 3600, not "
                   "'3601'\n" +
                       tryHelp},
        StatusCase{
            "FpsZero",
            {"--turntable", "2", "--fps", "0", "-o", "t.webp"},
            2,
            "vantu-render: --fps: must be a whole number from 1 to 120, not '0'\n" + tryHelp},
        StatusCase{
            "FpsTooHigh",
            {"--turntable", "2", "--fps", "121", "-o", "t.webp"},
            2,
            "vantu-render: --fps: must be a whole number from 1 to 120, not '121'\n" + tryHelp},
        StatusCase{"TurntableWithoutOutput",
                   {"--turntable", "2"},
                   2,
                   "vantu-render: --turntable requires --output\n" + tryHelp},
        StatusCase{"TurntableToAPng",
                   {"--turntable", "2", "-o", "t.png"},
                   2,
                   turntableNames + "'t.png'\n" + tryHelp},
        StatusCase{"TurntableToStandardOutput",
                   {"--turntable", "2", "-o", "-"},
                   2,
                   turntableNames + "'-'\n" + tryHelp},
        StatusCase{"TurntableWithRuns",
                   {"--turntable", "2", "-o", "t.webp", "--runs"},
                   2,
                   "vantu-render: --runs excludes --turntable\n" + tryHelp},
        StatusCase{"TurntableWithSnubListed",
                   {"--turntable", "2", "-o", "t.webp", "--mark-snub", "--snub"},
                   2,
                   "vantu-render: --snub excludes --turntable\n" + tryHelp},
        StatusCase{"GalleryWithTurntable",
                   {"--gallery", "g", "--turntable", "2"},
                   2,
                   "vantu-render: --gallery excludes --turntable\n" + tryHelp}),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    Lines, ExitStatus,
    testing::Values(
        StatusCase{"NothingToDo",
                   {},
                   2,
                   "vantu-render: nothing to do: give -o FILE, --runs, --snub, --info or "
                   "--gallery DIR\n" +
                       tryHelp},
        StatusCase{
            "UnknownOption", {"--bogus"}, 2, "vantu-render: unknown option '--bogus'\n" + tryHelp},
        StatusCase{"MissingValue",
                   {"--runs", "--code"},
                   2,
                   "vantu-render: --code: 1 required TEXT missing\n" + tryHelp},
        StatusCase{"LetterAtPosition5",
                   {"--code", "300 x/1:3/1:3/1", "--runs"},
                   1,
                   "vantu-render: the triangle code has no divisor digit at position 5 (fraction "
                   "1): division by zero (a code reads as a label, a blank and three fractions "
                   "p/q, as in \"300 2/1:3/1:3/1\")\n"},
        StatusCase{"NotATriangle",
                   {"--code=700 2/1:3/1:7/1", "--runs"},
                   1,
                   "vantu-render: the angles 90\u00B0, 60\u00B0, 25.71\u00B0 do not form a "
                   "spherical triangle: square root of a negative number while solving side c; in "
                   "the usual notation, \"2 3 7\" draws it in the hyperbolic plane\n"},
        StatusCase{"ScaleZero",
                   {"--scale", "0", "--runs"},
                   1,
                   "vantu-render: the scale R is 0: division by zero in row 0\n"},
        StatusCase{"ScaleTooLarge",
                   {"--scale", "1e999", "--runs"},
                   1,
                   "vantu-render: the scale R \"1e999\" is beyond the range of numbers: "
                   "overflow\n"},
        StatusCase{"GalleryScaleTooLarge",
                   {"--gallery", "unused", "--scale", "1e999"},
                   1,
                   "vantu-render: the scale R \"1e999\" is beyond the range of numbers: "
                   "overflow\n"},
        StatusCase{"SymbolWithoutABar",
                   {"--polyhedron", "3 2 5", "--info"},
                   2,
                   "vantu-render: --polyhedron: the Wythoff symbol \"3 2 5\" has no bar " +
                       std::string(wythoffForm) + "\n" + tryHelp},
        StatusCase{"PointNotAPoint",
                   {"--point", "vertex:D", "--info"},
                   2,
                   "vantu-render: --point: the point \"vertex:D\" is not a point " +
                       std::string(generatingPointForm) + "\n" + tryHelp},
        StatusCase{"SnubPointTheTriangleLacks",
                   {"--triangle", "2 3 3", "--point", "snub:99", "--info"},
                   1,
                   "vantu-render: " + noSnubPoint99 + "\n"},
        StatusCase{"DualOfAHemiPolyhedron",
                   {"--polyhedron", "3/2 3 | 2", "--dual", "-o", "unused.off"},
                   1,
                   "vantu-render: " + hemiDual + "\n"},
        StatusCase{
            "UnwritableFile",
            {"-o", "/nonexistent-dir/x.png"},
            1,
            "vantu-render: cannot write '/nonexistent-dir/x.png': No such file or directory\n"}),
    RowName());

TEST(HelpAndVersion, AreMadeFromTheOptionsAndTheProject) {
    const Outcome help = render({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: vantu-render [OPTION]...\n", 0), 0U);
    for (const char* option :
         {"--code", "--triangle", "--rotation", "--reverse", "--scale", "--projection", "--output",
          "--runs", "--info", "--mark-mirrors", "--mark-group", "--version"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    const Outcome version = render({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("vantu-render ") + VANTU_VERSION + "\n");
}

struct RunListCase {
    const char* name;
    const char* projection;
    std::vector<std::string> row240;
    friend void PrintTo(const RunListCase& c, std::ostream* os) { *os << c.name; }
};

class RunList : public testing::TestWithParam<RunListCase> {};

TEST_P(RunList, OfTheStartUpPicture) {
    const Outcome o = render({"--runs", "--projection", GetParam().projection});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    std::istringstream lines(o.out);
    std::string line;
    int ends = 0;
    std::vector<std::string> row240;
    while (std::getline(lines, line)) {
        if (line.rfind("end ", 0) == 0) {
            EXPECT_EQ(line, "end " + std::to_string(ends));
            ++ends;
        } else if (line.rfind("run 240 ", 0) == 0) {
            row240.push_back(line);
        } else {
            ASSERT_EQ(line.rfind("run ", 0), 0U) << line;
        }
    }
    EXPECT_EQ(ends, 481);
    EXPECT_EQ(row240, GetParam().row240);
}

INSTANTIATE_TEST_SUITE_P(
    Projections, RunList,
    testing::Values(
        RunListCase{
            "Stereo",
            "stereo",
            {"run 240 0 0 8421504", "run 240 0 118 11184641", "run 240 118 119 11141377",
             "run 240 119 266 65962", "run 240 266 267 66047", "run 240 267 320 131071",
             "run 240 320 383 130817", "run 240 383 606 11184641", "run 240 606 640 65962"}},
        RunListCase{
            "Gnome",
            "gnome",
            {"run 240 0 0 8421504", "run 240 0 263 65962", "run 240 263 264 66047",
             "run 240 264 320 131071", "run 240 320 388 130817", "run 240 388 640 11184641"}},
        RunListCase{"Ortho",
                    "ortho",
                    {"run 240 0 80 8421504", "run 240 80 84 11184641", "run 240 84 218 65962",
                     "run 240 218 320 131071", "run 240 320 438 130817", "run 240 438 560 11184641",
                     "run 240 560 640 8421504"}}),
    RowName());

TEST(RunListAtAnotherScale, EndsWithTheLastRow) {
    const Outcome o = render({"--runs", "--scale", "40", "--projection", "ortho"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(o.out.ends_with("\nend 480\n"));
}

// `image` is the window's picture of `request`, pixel for pixel.
void expectWindowPicture(const DecodedPng& image, const DrawRequest& request) {
    ASSERT_EQ(image.problem, "");
    ASSERT_EQ(image.width, pictureWidth);
    ASSERT_EQ(image.height, pictureHeight);
    ImageSink expected;
    runDrawing(request, expected);
    EXPECT_TRUE(testing_support::samePixels([&](int x, int y) { return image.at(x, y); },
                                            [&](int x, int y) { return expected.at(x, y); },
                                            {0, 0, pictureWidth, pictureHeight}));
}

struct PictureCase {
    const char* name;
    std::vector<std::string> args;
    DrawRequest request;
    friend void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }
};

class Png : public testing::TestWithParam<PictureCase> {};

// With no zoom and no antialias, the PNG is the window's picture.
TEST_P(Png, IsTheWindowPicture) {
    const std::string file = scratch(std::string(GetParam().name) + ".png");
    std::vector<std::string> args = GetParam().args;
    args.insert(args.end(), {"-o", file});
    const Outcome o = render(args);
    ASSERT_EQ(o.status, 0) << o.err;
    if (std::find(args.begin(), args.end(), "--runs") == args.end()) {
        EXPECT_EQ(o.out, "");
    }
    EXPECT_EQ(o.err, "") << "no progress bar when stderr is not a terminal";
    const DecodedPng image = readPng(file);
    std::remove(file.c_str());
    expectWindowPicture(image, GetParam().request);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, Png,
    testing::Values(PictureCase{"StartUp", {}, DrawRequest{}},
                    PictureCase{"EveryDrawingOption",
                                {"--code", "411 3/1:4/3:4/1", "--rotation", "2", "--reverse",
                                 "--scale", " 90.5 px", "--projection", "gnome"},
                                drawRequest("411 3/1:4/3:4/1")
                                    .rotation(2)
                                    .reverse()
                                    .scale(90.5)
                                    .projection(Projection::gnomonic)},
                    PictureCase{
                        "RunsBeside", {"--runs", "--scale", "90.5"}, drawRequest().scale(90.5)}),
    RowName());

TEST(PngAtPrintQuality, IsZoomTimesLarger) {
    const std::string file = scratch("two.png");
    const Outcome o = render({"-o", file, "--zoom", "2", "--antialias", "2", "--jobs", "2"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    const DecodedPng image = readPng(file);
    EXPECT_EQ(image.problem, "");
    EXPECT_EQ(image.width, 1280);
    EXPECT_EQ(image.height, 962);
    std::remove(file.c_str());
}

TEST(PngAtPrintQuality, IsTheSameForAnyThreadCount) {
    std::string first;
    for (const char* jobs : {"1", "2", "5"}) {
        const std::string file = scratch(std::string("jobs") + jobs + ".png");
        const Outcome o =
            render({"-o", file, "--zoom", "2", "--projection", "gnome", "--jobs", jobs});
        ASSERT_EQ(o.status, 0) << o.err;
        const std::string bytes = slurp(file);
        std::remove(file.c_str());
        if (first.empty()) {
            first = bytes;
            ASSERT_FALSE(first.empty());
        } else {
            EXPECT_TRUE(bytes == first) << jobs << " threads";
        }
    }
}

TEST(PngWithMarkSnub, RingsTheMeetingPointsOnly) {
    const std::string plain = scratch("plain.png");
    const std::string marked = scratch("marked.png");
    ASSERT_EQ(render({"-o", plain}).status, 0);
    ASSERT_EQ(render({"-o", marked, "--mark-snub"}).status, 0);
    const DecodedPng a = readPng(plain);
    const DecodedPng b = readPng(marked);
    ASSERT_EQ(a.problem, "");
    ASSERT_EQ(b.problem, "");
    // The snub tetrahedron's point at pixel (316, 194) is ringed; the corner is untouched.
    EXPECT_EQ(b.at(316 + 7, 194), 0);
    EXPECT_EQ(b.at(316, 194), a.at(316, 194));
    EXPECT_EQ(b.at(0, 0), a.at(0, 0));
    std::remove(plain.c_str());
    std::remove(marked.c_str());
}

// A polyhedron drawn on its symbol's triangle is that triangle's picture until its edges are
// marked; the mark changes pixels and leaves the corner, far from every edge, as it was.
TEST(PngWithMarkPolyhedron, ChangesThePictureOnlyWithTheMark) {
    const std::string triangle = scratch("triangle.png");
    const std::string symbol = scratch("symbol.png");
    const std::string marked = scratch("edges.png");
    ASSERT_EQ(render({"--triangle", "2 3 5", "-o", triangle}).status, 0);
    ASSERT_EQ(render({"--polyhedron", "| 2 3 5", "-o", symbol}).status, 0);
    const Outcome o = render({"--polyhedron", "| 2 3 5", "--mark-polyhedron", "-o", marked});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(slurp(symbol), slurp(triangle));
    const DecodedPng a = readPng(triangle);
    const DecodedPng b = readPng(marked);
    ASSERT_EQ(b.problem, "");
    ASSERT_EQ(a.pixels.size(), b.pixels.size());
    EXPECT_NE(a.pixels, b.pixels);
    EXPECT_EQ(b.at(0, 0), a.at(0, 0));
    for (const std::string& file : {triangle, symbol, marked}) {
        std::remove(file.c_str());
    }
}

struct PlaneMarkCase {
    const char* name;
    std::vector<std::string> args;  // the triangle, its picture and its marks
    std::array<int, 2> mark;        // a pixel the marks cover
    std::array<int, 2> far;         // and one far from every mark
    friend void PrintTo(const PlaneMarkCase& c, std::ostream* os) { *os << c.name; }
};

class PlaneMarks : public testing::TestWithParam<PlaneMarkCase> {};

// The marks of a plane's triangle change the pixel they cover and leave one far from every mark
// as the plain picture has it; --snub lists the plane's own points, without antipodes.
TEST_P(PlaneMarks, DrawOverThePlainPicture) {
    const PlaneMarkCase& c = GetParam();
    const std::string plain = scratch("plane-plain.png");
    const std::string marked = scratch("plane-marked.png");
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--size", "200x150", "-o", plain});
    ASSERT_EQ(render(args).status, 0);
    args.back() = marked;
    args.insert(args.end(), {"--mark-mirrors", "--mark-triangle", "--mark-group", "--mark-snub"});
    const Outcome o = render(args);
    ASSERT_EQ(o.status, 0) << o.err;
    const DecodedPng a = readPng(plain);
    const DecodedPng b = readPng(marked);
    ASSERT_EQ(b.problem, "");
    EXPECT_NE(b.at(c.mark[0], c.mark[1]), a.at(c.mark[0], c.mark[1]));
    EXPECT_EQ(b.at(c.far[0], c.far[1]), a.at(c.far[0], c.far[1]));
    std::remove(plain.c_str());
    std::remove(marked.c_str());

    std::vector<std::string> listing = c.args;
    listing.push_back("--snub");
    const Outcome snub = render(listing);
    ASSERT_EQ(snub.status, 0) << snub.err;
    EXPECT_NE(snub.out.find(": 1.\n"), std::string::npos) << snub.out;
    EXPECT_EQ(snub.out.find("antipode"), std::string::npos) << snub.out;
    EXPECT_NE(snub.out.find("+++"), std::string::npos) << snub.out;
}

INSTANTIATE_TEST_SUITE_P(
    Planes, PlaneMarks,
    testing::Values(
        // Mirror 3, side c, runs along the middle row; the corner is outside the disk, below
        // the horizon, or between the lines of the tiling.
        PlaneMarkCase{"PoincareDisk", {"--triangle", "2 3 7", "--scale", "30"}, {60, 75}, {0, 0}},
        PlaneMarkCase{"HalfPlane",
                      {"--triangle", "2 3 7", "--projection", "halfplane", "--scale", "30"},
                      {100, 75},
                      {199, 149}},
        PlaneMarkCase{"Euclidean", {"--triangle", "3 3 3", "--scale", "300"}, {190, 75}, {0, 0}}),
    RowName());

struct InfoCase {
    const char* name;
    std::vector<std::string> args;
    std::string triangle;    // the first line
    std::string polyhedron;  // a line of the polyhedron's facts, after the triangle's
    friend void PrintTo(const InfoCase& c, std::ostream* os) { *os << c.name; }
};

class PolyhedronInfo : public testing::TestWithParam<InfoCase> {};

TEST_P(PolyhedronInfo, FollowsTheTrianglesFacts) {
    const InfoCase& c = GetParam();
    std::vector<std::string> args = c.args;
    args.push_back("--info");
    const Outcome o = render(args);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_TRUE(o.out.starts_with(c.triangle + "\n")) << o.out;
    const std::size_t density = o.out.find("\ndensity: ");
    const std::size_t line = o.out.find("\n" + c.polyhedron + "\n");
    ASSERT_NE(line, std::string::npos) << o.out;
    EXPECT_LT(density, line);
}

INSTANTIATE_TEST_SUITE_P(
    Polyhedra, PolyhedronInfo,
    testing::Values(InfoCase{"SnubSymbol",
                             {"--polyhedron", "| 2 3 5"},
                             "triangle: (2 3 5)",
                             "polyhedron: U29 snub dodecahedron"},
                    InfoCase{"VertexOfACode",
                             {"--code", "300 2/1:3/1:3/1", "--point", "vertex:B"},
                             "triangle: (2 3 3)",
                             "polyhedron: U1 tetrahedron"},
                    InfoCase{"TurnedTriangle",
                             {"--triangle", "2 3 4", "--rotation", "1", "--point", "vertex:A"},
                             "triangle: (3 4 2)",
                             "polyhedron: U6 cube"},
                    InfoCase{"GivenPoint",
                             {"--triangle", "2 3 3", "--point", "0.1,0.2,0.9"},
                             "triangle: (2 3 3)",
                             "polyhedron: not uniform"}),
    RowName());

struct ModelCase {
    const char* name;
    std::vector<std::string> args;
    const char* file;
    std::array<int, 3> counts;  // vertices, faces, edges, as the published list has them
    friend void PrintTo(const ModelCase& c, std::ostream* os) { *os << c.name; }
};

class ModelFile : public testing::TestWithParam<ModelCase> {};

// The model -o writes for a polyhedron, or for its dual, has the polyhedron's counts; an OBJ has
// its materials beside it.
TEST_P(ModelFile, HasThePolyhedronsCounts) {
    const ModelCase& c = GetParam();
    const std::filesystem::path folder = scratch(c.name);
    std::filesystem::create_directories(folder);
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"-o", (folder / c.file).string()});
    const Outcome o = render(args);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    std::istringstream off(slurp((folder / c.file).string()));
    std::string line;
    while (std::getline(off, line) && (line == "OFF" || line.starts_with("#"))) {
    }
    std::array<int, 3> counts{};
    std::istringstream(line) >> counts[0] >> counts[1] >> counts[2];
    EXPECT_EQ(counts, c.counts);
    std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Polyhedra, ModelFile,
    testing::Values(ModelCase{"Icosahedron", {"--polyhedron", "5 | 2 3"}, "ico.off", {12, 20, 30}},
                    ModelCase{"GreatIcosahedronUpperCase",
                              {"--polyhedron", "5/2 | 2 3"},
                              "great.OFF",
                              {12, 20, 30}},
                    ModelCase{"SnubCubeOfItsPoint",
                              {"--triangle", "2 3 4", "--point", "snub:1"},
                              "snub.off",
                              {24, 38, 60}},
                    ModelCase{"PentagonalHexecontahedron",
                              {"--polyhedron", "| 2 3 5", "--dual"},
                              "d.off",
                              {92, 60, 150}}),
    RowName());

// The command line renderArguments writes, quoted for a shell and run by one, draws exactly the
// described picture: the copy the Explorer hands its user.
TEST(CommandOfADescription, DrawsThatPictureThroughAShell) {
    PictureDescription description;
    description.request = {"411 3/1:4/3:4/1", 1, true, 100.0 / 3.0, Projection::gnomonic};
    description.view = {30.000000000000004, -1e-9, 0.1};
    description.size = {97, 61};
    description.sampling = {1.25, 1};
    const std::string file = scratch("described.png");
    std::vector<std::string> words = {VANTU_RENDER};
    for (const std::string& arg : options::renderArguments(description)) {
        words.push_back(arg);
    }
    words.insert(words.end(), {"-o", file});
    const Outcome o = testing_support::runProgram("/bin/sh", {"-c", options::shellQuoted(words)});
    ASSERT_EQ(o.status, 0) << o.err;
    const DecodedPng image = readPng(file);
    std::remove(file.c_str());
    const FinePicture picture = finePictureOf(
        description, turnedSetup(prepareDrawing(description.request), description.view));
    ASSERT_EQ(image.problem, "");
    ASSERT_EQ(image.width, picture.width());
    ASSERT_EQ(image.height, picture.height());
    std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
    for (int r = 0; r < picture.height(); ++r) {
        picture.renderRow(r, row);
        for (int col = 0; col < picture.width(); ++col) {
            ASSERT_EQ(image.at(col, r), row[static_cast<std::size_t>(col)])
                << "pixel (" << col << ", " << r << ")";
        }
    }
}

struct FaultCase {
    const char* name;
    std::vector<std::string> args;
    std::string message;
    friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }
};

const std::string scaleZero = "the scale R is 0: division by zero in row 0";

class PngAfterAFault : public testing::TestWithParam<FaultCase> {};

// A fault writes no picture: the file that was there stays as it was, and nothing else is left
// beside it.
TEST_P(PngAfterAFault, IsNotWrittenAndTheOldFileIsKept) {
    const FaultCase& c = GetParam();
    const std::filesystem::path folder = scratch(c.name);
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "keep.png").string();
    std::ofstream(file) << "an earlier picture";
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"-o", file});
    const Outcome o = render(args);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "vantu-render: " + c.message + "\n");
    EXPECT_EQ(slurp(file), "an earlier picture");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PngAfterAFault,
    testing::Values(
        FaultCase{"InTheFirstRow", {"--scale", "0"}, scaleZero},
        FaultCase{"ZoomTwoOnTwoThreads", {"--scale", "0", "--zoom", "2", "--jobs", "2"}, scaleZero},
        FaultCase{"WithTheRunList", {"--scale", "0", "--runs"}, scaleZero},
        FaultCase{"BadCode",
                  {"--code", "zzz"},
                  "the triangle code has no divisor digit at position 5 (fraction 1): "
                  "division by zero (a code reads as a label, a blank and three fractions p/q, "
                  "as in \"300 2/1:3/1:3/1\")"},
        FaultCase{"PolyhedronOfADenseGroup",
                  {"--triangle", "2 3 7/2", "--point", "incentre", "--mark-polyhedron"},
                  denseGroup},
        FaultCase{"ScaleBeyondTheRangeOfNumbers",
                  {"--scale", "1e999"},
                  "the scale R \"1e999\" is beyond the range of numbers: overflow"}),
    RowName());

// The meeting points come before the picture: a fault in finding them leaves no PNG.
TEST(PngAfterASnubPointFault, IsNotWritten) {
    const std::string file = scratch("snub-fault.png");
    const Outcome o = render({"--scale", "1e999", "--mark-snub", "-o", file});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err,
              "vantu-render: the scale R \"1e999\" is beyond the range of numbers: overflow\n");
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(Snub, PrintsTheSnubTetrahedronsPoints) {
    const Outcome o = render({"--snub"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_NE(o.out.find("for \"300 2/1:3/1:3/1\", rotation 0, reverse off: 4.\n"),
              std::string::npos)
        << o.out;
    // 4 / (2 + phi), the icosahedron's edge over its circumradius, squared.
    EXPECT_NE(o.out.find("  1  -0.026459974275575"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("3  +++    1.10557280900008      (316, 194)\n"), std::string::npos)
        << o.out;
}

TEST(Snub, ListsThePointsBeforeTheRuns) {
    const Outcome o = render({"--runs", "--snub"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(o.out.starts_with("Points where the six hues meet")) << o.out.substr(0, 200);
    EXPECT_TRUE(o.out.ends_with("\nend 480\n"));
}

TEST(Snub, ReportsABadCode) {
    const Outcome o = render({"--snub", "--code", "300 2/1:3/1:7/1"});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.out.empty());
    EXPECT_TRUE(o.err.starts_with("vantu-render: the angles 90\u00B0, 60\u00B0, 25.71\u00B0"))
        << o.err;
}

// Under a terminal the progress bar shows on stderr and ends at 100%.
TEST(Progress, ShowsOnATerminal) {
    const std::string file = scratch("tty.png");
    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only stderr stays on the terminal.
        std::freopen("/dev/null", "w", stdout);
        ::execl(VANTU_RENDER, VANTU_RENDER, "-o", file.c_str(), "--zoom", "2", "--jobs", "2",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::string screen;
    char buffer[4096];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;) {
        screen.append(buffer, static_cast<std::size_t>(n));
    }
    int raw = 0;
    ::waitpid(child, &raw, 0);
    ::close(master);
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
    EXPECT_NE(screen.find("rendering ["), std::string::npos) << screen;
    EXPECT_NE(screen.find("] 100%"), std::string::npos) << screen;
    std::remove(file.c_str());
}

using testing_support::BadInput;
using testing_support::CheckingSink;

class BadInputs : public testing::TestWithParam<BadInput> {};

// vantu-render gets each text as one argument, which Linux caps at 128 KiB: the megabyte texts
// go in cut to 100,000 characters, which keeps their outcome.
TEST_P(BadInputs, ThroughVantuRender) {
    const BadInput& c = GetParam();
    const auto cut = [](const std::string& s) { return s.substr(0, 100000); };
    std::vector<std::string> args = {"--runs",
                                     "--code",
                                     cut(c.code),
                                     "--scale",
                                     cut(c.scale),
                                     "--projection",
                                     std::string(projectionName(c.projection)),
                                     "--rotation",
                                     std::to_string(c.rotation)};
    if (c.reverse) {
        args.emplace_back("--reverse");
    }
    const Outcome o = render(args);
    std::istringstream runs(o.out);
    CheckingSink sink;
    sink.setPixelScale();
    std::string word;
    while (runs >> word) {
        int row = 0;
        if (word == "run") {
            int first = 0;
            int end = 0;
            PackedColour colour = 0;
            runs >> row >> first >> end >> colour;
            sink.drawRun(row, first, end, colour);
        } else {
            runs >> row;
            sink.endRow(row);
        }
    }
    EXPECT_EQ(sink.problem, "");
    if (c.fault) {
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.err, "vantu-render: " + c.fault->message + "\n");
        EXPECT_EQ(sink.runs, 0);
    } else {
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(sink.rowsFinished, pictureHeight);
        EXPECT_EQ(sink.hash, c.hash);
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, BadInputs, testing::ValuesIn(testing_support::badInputs),
                         RowName());

}  // namespace
}  // namespace vantu
