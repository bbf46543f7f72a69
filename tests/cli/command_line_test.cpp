// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu-render's command line: what it is parsed into, what it refuses and in which words, which
// problem wins when there are several, the help made from the same declarations, and the scale
// read from the command.

#include "cli/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "drawing/picture_overlay.h"
#include "geometry/draw_error.h"
#include "polyhedron/wythoff.h"
#include "tests/same_description.h"
#include "tests/test_support.h"

namespace vantu::cli {
namespace {

struct ParseCase {
    const char* name;
    std::vector<std::string> args;
    std::function<void(Command&)> expect;  // turns the default command into the expected one
    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }
};

class ParsedCommand : public testing::TestWithParam<ParseCase> {};

TEST_P(ParsedCommand, HoldsWhatTheLineAsks) {
    const ParseCase& c = GetParam();
    Command expected;
    c.expect(expected);
    const ParsedLine line = parseCommandLine(c.args);
    ASSERT_EQ(line.action, Action::run);
    const Command& got = line.command;
    EXPECT_EQ(got.mode, expected.mode);
    testing_support::expectSameDescription(got.picture.description, expected.picture.description);
    EXPECT_EQ(got.picture.scaleText, expected.picture.scaleText);
    EXPECT_EQ(got.output, expected.output);
    EXPECT_EQ(got.gallery, expected.gallery);
    EXPECT_EQ(got.jobs, expected.jobs);
    EXPECT_EQ(got.listSnubPoints, expected.listSnubPoints);
    EXPECT_EQ(got.marks.snubPoints, expected.marks.snubPoints);
    EXPECT_EQ(got.marks.mirrors, expected.marks.mirrors);
    EXPECT_EQ(got.marks.groupMirrors, expected.marks.groupMirrors);
    EXPECT_EQ(got.marks.triangle, expected.marks.triangle);
    EXPECT_EQ(got.marks.polyhedron, expected.marks.polyhedron);
    ASSERT_EQ(got.symbol.has_value(), expected.symbol.has_value());
    if (got.symbol) {
        EXPECT_EQ(got.symbol->triangle, expected.symbol->triangle);
        EXPECT_EQ(got.symbol->bar, expected.symbol->bar);
    }
    ASSERT_EQ(got.point.has_value(), expected.point.has_value());
    if (got.point) {
        EXPECT_TRUE(samePoint(*got.point, *expected.point));
    }
    EXPECT_EQ(got.dual, expected.dual);
    EXPECT_EQ(got.permutations, expected.permutations);
    EXPECT_EQ(got.pictureType, expected.pictureType);
    EXPECT_EQ(got.frames, expected.frames);
    EXPECT_EQ(got.fps, expected.fps);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParsedCommand,
    testing::Values(
        ParseCase{"StartUpPicture", {"-o", "a.png"}, [](Command& c) { c.output = "a.png"; }},
        ParseCase{"DrawingOptions",
                  {"--code=411 3/1:4/3:4/1", "--rotation", "2", "--reverse", "--scale", " 90.5 px",
                   "--projection", "gnome", "--runs"},
                  [](Command& c) {
                      c.mode = Mode::runs;
                      c.picture.description.request.triangleCode = "411 3/1:4/3:4/1";
                      c.picture.description.request.rotation = 2;
                      c.picture.description.request.reverse = true;
                      c.picture.scaleText = " 90.5 px";
                      c.picture.description.request.projection = Projection::gnomonic;
                  }},
        ParseCase{"RunsPaintedIntoThePng",
                  {"--runs", "--output", "a.png"},
                  [](Command& c) {
                      c.mode = Mode::runs;
                      c.output = "a.png";
                  }},
        ParseCase{"ZoomAntialiasAndJobs",
                  {"-o", "a.png", "--zoom", "16", "--antialias=8", "--jobs", "3"},
                  [](Command& c) {
                      c.output = "a.png";
                      c.picture.description.sampling = {16, 8};
                      c.jobs = 3;
                  }},
        ParseCase{"ViewSizeAndAScreensRatio",
                  {"-o", "a.png", "--view", "-90,1e-9,720", "--size", "7x1201", "--zoom", "1.25"},
                  [](Command& c) {
                      c.output = "a.png";
                      c.picture.description.view = {-90.0, 1e-9, 720.0};
                      c.picture.description.size = {7, 1201};
                      c.picture.description.sampling.ratio = 1.25;
                  }},
        ParseCase{"LeadingZerosAreDecimal",
                  {"-o", "a.png", "--zoom", "03", "--jobs", "010"},
                  [](Command& c) {
                      c.output = "a.png";
                      c.picture.description.sampling.ratio = 3;
                      c.jobs = 10;
                  }},
        ParseCase{"Gallery",
                  {"--gallery", "out", "--permutations", "--scale", "60", "--zoom", "2"},
                  [](Command& c) {
                      c.mode = Mode::gallery;
                      c.gallery = "out";
                      c.permutations = true;
                      c.picture.scaleText = "60";
                      c.picture.description.sampling.ratio = 2;
                  }},
        ParseCase{"SnubAlone",
                  {"--snub", "--code", "311 3/2:3/2:3/2"},
                  [](Command& c) {
                      c.mode = Mode::snub;
                      c.listSnubPoints = true;
                      c.picture.description.request.triangleCode = "311 3/2:3/2:3/2";
                  }},
        ParseCase{"SnubWithRuns",
                  {"--snub", "--runs"},
                  [](Command& c) {
                      c.mode = Mode::runs;
                      c.listSnubPoints = true;
                  }},
        ParseCase{"MarkSnub",
                  {"-o", "a.png", "--mark-snub", "--zoom", "4"},
                  [](Command& c) {
                      c.output = "a.png";
                      c.marks.snubPoints = true;
                      c.picture.description.sampling.ratio = 4;
                  }},
        ParseCase{
            "EveryMark",
            {"-o", "a.webp", "--mark-mirrors", "--mark-group", "--mark-triangle", "--mark-snub"},
            [](Command& c) {
                c.output = "a.webp";
                c.pictureType = PictureType::webp;
                c.marks = {true, true, true, true};
            }},
        ParseCase{"Triangle",
                  {"--triangle", " 5/2 3\t3 ", "--rotation", "1", "--runs"},
                  [](Command& c) {
                      c.mode = Mode::runs;
                      c.picture.description.request.triangleCode = " 5/2 3\t3 ";
                      c.picture.description.request.notation = TriangleNotation::schwarz;
                      c.picture.description.request.rotation = 1;
                  }},
        ParseCase{"InfoOfATriangle",
                  {"--info", "--triangle", "2 3 5", "--rotation", "2", "--reverse"},
                  [](Command& c) {
                      c.mode = Mode::info;
                      c.picture.description.request.triangleCode = "2 3 5";
                      c.picture.description.request.notation = TriangleNotation::schwarz;
                      c.picture.description.request.rotation = 2;
                      c.picture.description.request.reverse = true;
                  }},
        ParseCase{"SnubWithPicture",
                  {"-o", "a.png", "--snub"},
                  [](Command& c) {
                      c.output = "a.png";
                      c.listSnubPoints = true;
                  }},
        ParseCase{"LastValueWins",
                  {"--zoom", "2", "--zoom=3", "-o", "a.png", "--output", "b.png", "--reverse",
                   "--reverse"},
                  [](Command& c) {
                      c.picture.description.sampling.ratio = 3;
                      c.output = "b.png";
                      c.picture.description.request.reverse = true;
                  }},
        ParseCase{"ValuesThatLookLikeOptions",
                  {"--code", "-o", "--scale", "-120", "--runs"},
                  [](Command& c) {
                      c.mode = Mode::runs;
                      c.picture.description.request.triangleCode = "-o";
                      c.picture.scaleText = "-120";
                  }},
        ParseCase{"EmptyTexts",
                  {"--code", "", "--scale", "", "--runs"},
                  [](Command& c) {
                      c.mode = Mode::runs;
                      c.picture.description.request.triangleCode = "";
                      c.picture.scaleText = "";
                  }},
        ParseCase{"Webp",
                  {"-o", "a.webp", "--zoom", "2"},
                  [](Command& c) {
                      c.output = "a.webp";
                      c.pictureType = PictureType::webp;
                      c.picture.description.sampling.ratio = 2;
                  }},
        ParseCase{"RunsIntoAWebp",
                  {"--runs", "-o", "a.webp"},
                  [](Command& c) {
                      c.mode = Mode::runs;
                      c.output = "a.webp";
                      c.pictureType = PictureType::webp;
                  }},
        ParseCase{"LargestWebp",
                  {"-o", "a.webp", "--size", "8191x5", "--zoom", "2"},
                  [](Command& c) {
                      c.output = "a.webp";
                      c.pictureType = PictureType::webp;
                      c.picture.description.size = {8191, 5};
                      c.picture.description.sampling.ratio = 2;
                  }},
        ParseCase{"TurntableWebp",
                  {"--turntable", "3600", "--fps", "120", "-o", "t.webp", "--view", "1,2,3"},
                  [](Command& c) {
                      c.mode = Mode::turntable;
                      c.output = "t.webp";
                      c.pictureType = PictureType::webp;
                      c.frames = 3600;
                      c.fps = 120;
                      c.picture.description.view = {1, 2, 3};
                  }},
        ParseCase{"TurntableFrames",
                  {"--turntable", "1", "-o", "frames/", "--jobs", "2"},
                  [](Command& c) {
                      c.mode = Mode::turntable;
                      c.output = "frames/";
                      c.frames = 1;
                      c.jobs = 2;
                  }},
        ParseCase{"ValueWithEqualsSign",
                  {"--code==x", "--runs"},
                  [](Command& c) {
                      c.mode = Mode::runs;
                      c.picture.description.request.triangleCode = "=x";
                  }},
        // "--name=" with nothing after it takes the next argument, as CLI11 reads it.
        ParseCase{"EqualsSignWithNothing",
                  {"--gallery=", "--runs"},
                  [](Command& c) {
                      c.mode = Mode::gallery;
                      c.gallery = "--runs";
                  }},
        // As getopt reads them.
        ParseCase{
            "ShortOptionWithValueRunTogether", {"-oa.png"}, [](Command& c) { c.output = "a.png"; }},
        // A flag takes "=true" and nothing else.
        ParseCase{"FlagGivenTrue",
                  {"--reverse=true", "--runs"},
                  [](Command& c) {
                      c.mode = Mode::runs;
                      c.picture.description.request.reverse = true;
                  }},
        ParseCase{"FlagGivenNothing", {"--runs="}, [](Command& c) { c.mode = Mode::runs; }},
        // The symbol's triangle is the picture's, in the usual notation.
        ParseCase{"PolyhedronOfASymbol",
                  {"--polyhedron", " 5/2 3 | 3 ", "--info"},
                  [](Command& c) {
                      c.mode = Mode::info;
                      c.symbol = WythoffSymbol{"5/2 3 3", WythoffBar::afterSecond};
                      c.picture.description.request.triangleCode = "5/2 3 3";
                      c.picture.description.request.notation = TriangleNotation::schwarz;
                  }},
        ParseCase{"SnubSymbolMarked",
                  {"--polyhedron=| 2 3 5", "--mark-polyhedron", "--view", "1,2,3", "-o", "s.png"},
                  [](Command& c) {
                      c.output = "s.png";
                      c.symbol = WythoffSymbol{"2 3 5", WythoffBar::beforeAll};
                      c.marks.polyhedron = true;
                      c.picture.description.request.triangleCode = "2 3 5";
                      c.picture.description.request.notation = TriangleNotation::schwarz;
                      c.picture.description.view = {1, 2, 3};
                  }},
        ParseCase{"PointOnACodeWithRuns",
                  {"--code", "311 3/2:3/2:3/2", "--point", "snub:2", "--runs", "-o", "r.png",
                   "--mark-polyhedron"},
                  [](Command& c) {
                      c.mode = Mode::runs;
                      c.output = "r.png";
                      c.point = GeneratingPoint::snub(1);
                      c.marks.polyhedron = true;
                      c.picture.description.request.triangleCode = "311 3/2:3/2:3/2";
                  }},
        ParseCase{"DualModel",
                  {"--triangle", "2 3 4", "--point", "vertex:B", "--dual", "-o", "dir/Cube.OFF"},
                  [](Command& c) {
                      c.mode = Mode::model;
                      c.output = "dir/Cube.OFF";
                      c.point = GeneratingPoint::vertex(1);
                      c.dual = true;
                      c.picture.description.request.triangleCode = "2 3 4";
                      c.picture.description.request.notation = TriangleNotation::schwarz;
                  }},
        ParseCase{"ModelListingTheSnubPoints",
                  {"--polyhedron", "2 3 4 |", "--snub", "-o", "a.glb"},
                  [](Command& c) {
                      c.mode = Mode::model;
                      c.output = "a.glb";
                      c.listSnubPoints = true;
                      c.symbol = WythoffSymbol{"2 3 4", WythoffBar::afterAll};
                      c.picture.description.request.triangleCode = "2 3 4";
                      c.picture.description.request.notation = TriangleNotation::schwarz;
                  }}),
    RowName());

struct RefusedCase {
    const char* name;
    std::vector<std::string> args;
    testing::Matcher<std::string> message;
    friend void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }
};

const char* const galleryWithRuns = "--runs excludes --gallery";

class RefusedLine : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedLine, SaysWhy) {
    try {
        (void)parseCommandLine(GetParam().args);
        ADD_FAILURE() << "no UsageError";
    } catch (const UsageError& e) {
        EXPECT_THAT(std::string(e.what()), GetParam().message);
    }
}

// One problem at a time.
INSTANTIATE_TEST_SUITE_P(
    Values, RefusedLine,
    testing::Values(
        RefusedCase{
            "ZoomZero", {"--zoom", "0"}, "--zoom: must be a number from 0.25 to 16, not '0'"},
        RefusedCase{
            "ZoomTooLarge", {"--zoom", "17"}, "--zoom: must be a number from 0.25 to 16, not '17'"},
        RefusedCase{"ZoomBelowAQuarter",
                    {"--zoom", "0.2"},
                    "--zoom: must be a number from 0.25 to 16, not '0.2'"},
        RefusedCase{
            "ZoomSigned", {"--zoom", "+2"}, "--zoom: must be a number from 0.25 to 16, not '+2'"},
        RefusedCase{"ZoomEmpty", {"--zoom="}, "--zoom: 1 required K missing"},
        RefusedCase{"ZoomEmptyArgument",
                    {"--zoom", ""},
                    "--zoom: must be a number from 0.25 to 16, not ''"},
        RefusedCase{"ZoomHuge",
                    {"--zoom", "99999999999999999999"},
                    "--zoom: must be a number from 0.25 to 16, not '99999999999999999999'"},
        RefusedCase{"ZoomMissing", {"--zoom"}, "--zoom: 1 required K missing"},
        RefusedCase{"ViewOfTwoAngles",
                    {"--view", "1,2"},
                    "--view: must be three numbers LON,LAT,ROLL in degrees, not '1,2': it has 2 "
                    "numbers, not 3"},
        RefusedCase{"ViewOfFourAngles",
                    {"--view", "1,2,3,4"},
                    "--view: must be three numbers LON,LAT,ROLL in degrees, not '1,2,3,4': it has "
                    "4 numbers, "
                    "not 3"},
        RefusedCase{"ViewNotFinite",
                    {"--view", "0,1e999,0"},
                    "--view: must be three numbers LON,LAT,ROLL in degrees, not '0,1e999,0': LAT "
                    "'1e999' is "
                    "beyond the range of numbers"},
        RefusedCase{
            "ViewWithBlanks",
            {"--view", "0, 1, 0"},
            "--view: must be three numbers LON,LAT,ROLL in degrees, not '0, 1, 0': LAT ' 1' has a "
            "blank"},
        RefusedCase{"SizeZero",
                    {"--size", "0x481"},
                    "--size: must be WIDTHxHEIGHT, two whole numbers from 1 to 16384, not '0x481'"},
        RefusedCase{"SizeTooLarge",
                    {"--size", "640x16385"},
                    "--size: must be WIDTHxHEIGHT, two whole numbers from 1 to 16384, not "
                    "'640x16385'"},
        RefusedCase{"SizeOfOneNumber",
                    {"--size", "640"},
                    "--size: must be WIDTHxHEIGHT, two whole numbers from 1 to 16384, not '640'"},
        RefusedCase{"SizeSigned",
                    {"--size", "+640x481"},
                    "--size: must be WIDTHxHEIGHT, two whole numbers from 1 to 16384, not "
                    "'+640x481'"},
        RefusedCase{"SampleOnTheVerticalAxis",
                    {"--size", "386x482", "--zoom", "1.5", "-o", "a.png"},
                    "--size 386x482 at --zoom 1.5 puts a sample on the vertical axis through the "
                    "picture's centre, where the stereo picture is not defined; --size 385x482 "
                    "draws it"},
        RefusedCase{"SubsampleOnTheVerticalAxis",
                    {"--size", "386x482", "--zoom", "1.25", "--antialias", "2", "--projection",
                     "gnome", "-o", "a.png"},
                    testing::HasSubstr("where the gnome picture is not defined; --size 385x482")},
        RefusedCase{"NoPixelAtAQuarterZoom",
                    {"--size", "1x1", "--zoom", "0.25", "--turntable", "2", "-o", "d1/"},
                    "--size 1x1 at --zoom 0.25 makes a picture of 0 x 0 pixels: give a larger "
                    "--size or --zoom"},
        RefusedCase{"NoRowAtAQuarterZoom",
                    {"--size", "640x1", "--zoom", "0.25", "--gallery", "g"},
                    testing::HasSubstr("makes a picture of 160 x 0 pixels")},
        RefusedCase{"OutputMissing", {"--runs", "-o"}, "--output: 1 required FILE missing"},
        RefusedCase{"AntialiasNine",
                    {"--antialias", "9"},
                    "--antialias: must be a whole number from 1 to 8, not '9'"},
        RefusedCase{
            "JobsZero", {"--jobs", "0"}, "--jobs: must be a whole number from 1 to 256, not '0'"},
        RefusedCase{"JobsWord",
                    {"--jobs", "all"},
                    "--jobs: must be a whole number from 1 to 256, not 'all'"},
        RefusedCase{"RotationThree", {"--rotation", "3"}, "--rotation: must be 0, 1 or 2, not '3'"},
        RefusedCase{"ProjectionUnknown",
                    {"--projection=mercator"},
                    "--projection: must be stereo, gnome, ortho or halfplane, not 'mercator'"},
        RefusedCase{"ProjectionWithOverride",
                    {"--projection", "\u202Eortho"},
                    "--projection: must be stereo, gnome, ortho or halfplane, not '\\u202Eortho'"},
        RefusedCase{"ZoomWithEscape",
                    {"--zoom", "\x1B[2J"},
                    "--zoom: must be a number from 0.25 to 16, not '\\u001B[2J'"},
        RefusedCase{"GalleryEmpty", {"--gallery="}, "--gallery: 1 required DIR missing"},
        RefusedCase{
            "GalleryEmptyArgument", {"--gallery", ""}, "--gallery: must be a folder, not ''"},
        RefusedCase{"OutputEmpty", {"-o", ""}, "--output: must be a file name, not ''"},
        // "--name=" with nothing after it takes the next argument, as CLI11 reads it.
        RefusedCase{"OutputEmptyLongName", {"--output="}, "--output: 1 required FILE missing"},
        RefusedCase{"SymbolWithoutABar",
                    {"--polyhedron", "3 2 5", "--info"},
                    std::string("--polyhedron: the Wythoff symbol \"3 2 5\" has no bar ") +
                        std::string(wythoffForm)},
        RefusedCase{"PointOfTwoCoordinates",
                    {"--point", "1,2", "--info"},
                    std::string("--point: the point \"1,2\" is not a point ") +
                        std::string(generatingPointForm)},
        RefusedCase{"EmptyTextsAfterEqualsSigns",
                    {"--code=", "--scale", "", "--runs"},
                    "unexpected argument ''"}),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    Arguments, RefusedLine,
    testing::Values(
        RefusedCase{"Unknown", {"--bogus"}, "unknown option '--bogus'"},
        RefusedCase{"UnknownWithValue", {"--bogus=3"}, "unknown option '--bogus=3'"},
        RefusedCase{"UnknownShortOption", {"-x", "--runs"}, "unknown option '-x'"},
        RefusedCase{"NotAnOption", {"--runs", "extra"}, "unexpected argument 'extra'"},
        RefusedCase{
            "NotAnOptionWithNewline", {"--runs", "a\nb"}, "unexpected argument 'a\\u000Ab'"},
        RefusedCase{"AfterDoubleDash", {"--runs", "--", "x"}, "unexpected argument 'x'"},
        RefusedCase{
            "OptionAfterDoubleDash", {"--runs", "--", "--snub"}, "unexpected argument '--snub'"},
        RefusedCase{"FirstOfSeveral", {"--runs", "x", "--", "--bogus"}, "unexpected argument 'x'"},
        RefusedCase{"PermutationsWithValue",
                    {"--gallery", "g", "--permutations=1"},
                    "permutations was given a disallowed flag override"},
        RefusedCase{"FlagGivenFalse",
                    {"--runs", "--reverse=false"},
                    "reverse was given a disallowed flag override"},
        RefusedCase{"NothingToDo",
                    {"--zoom", "2"},
                    "nothing to do: give -o FILE, --runs, --snub, --info or --gallery DIR"}),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    Combinations, RefusedLine,
    testing::Values(
        RefusedCase{
            "GalleryWithOutput", {"--gallery", "g", "-o", "a.png"}, "--output excludes --gallery"},
        RefusedCase{"GalleryWithCode",
                    {"--code", "311 3/2:3/2:3/2", "--gallery", "g"},
                    "--code excludes --gallery"},
        RefusedCase{"GalleryWithProjection",
                    {"--gallery", "g", "--projection", "ortho"},
                    "--projection excludes --gallery"},
        RefusedCase{"GalleryWithSnub", {"--gallery", "g", "--snub"}, "--snub excludes --gallery"},
        RefusedCase{"PermutationsAlone",
                    {"-o", "a.png", "--permutations"},
                    "--permutations requires --gallery"},
        RefusedCase{"MarkSnubWithoutOutput",
                    {"--snub", "--mark-snub"},
                    "--mark-snub requires --output or --gallery"},
        RefusedCase{"MarkSnubAlone", {"--mark-snub"}, "--mark-snub requires --output or --gallery"},
        RefusedCase{"MarkGroupWithRunsOnly",
                    {"--runs", "--mark-group"},
                    "--mark-group requires --output or --gallery"},
        RefusedCase{"MarksWithInfo",
                    {"--info", "--mark-triangle", "--mark-mirrors"},
                    "--mark-mirrors requires --output or --gallery"},
        RefusedCase{"TriangleWithCode",
                    {"--triangle", "2 3 3", "--code", "300 2/1:3/1:3/1", "--runs"},
                    "--code excludes --triangle"},
        RefusedCase{"GalleryWithTriangle",
                    {"--gallery", "g", "--triangle", "2 3 3"},
                    "--triangle excludes --gallery"},
        RefusedCase{"InfoWithOutput", {"--info", "-o", "a.png"}, "--output excludes --info"},
        RefusedCase{"InfoWithSnub", {"--snub", "--info"}, "--snub excludes --info"},
        RefusedCase{"InfoWithGallery", {"--info", "--gallery", "g"}, "--info excludes --gallery"},
        RefusedCase{"InfoWithScale",
                    {"--info", "--scale", "90"},
                    "--info draws nothing; it cannot be combined with --scale"},
        RefusedCase{"InfoWithZoom",
                    {"--info", "--zoom", "2"},
                    "--info draws nothing; it cannot be combined with --zoom"},
        RefusedCase{"RunsWithZoom", {"--runs", "--zoom", "2"}, "--runs excludes --zoom"},
        RefusedCase{"RunsWithAntialias",
                    {"--runs", "-o", "a.png", "--antialias", "1"},
                    "--runs excludes --antialias"},
        RefusedCase{"StandardOutputWithRuns",
                    {"--runs", "-o", "-"},
                    "-o - writes the PNG to the standard output; it cannot be combined with "
                    "--runs or --snub"},
        RefusedCase{"SnubWithZoom",
                    {"--snub", "--zoom", "2"},
                    "--snub without -o draws nothing; it cannot be combined with --zoom"},
        RefusedCase{"PolyhedronWithCode",
                    {"--polyhedron", "3 | 2 5", "--code", "300 2/1:3/1:3/1", "--info"},
                    "--code excludes --polyhedron"},
        RefusedCase{"PolyhedronWithPoint",
                    {"--polyhedron", "3 | 2 5", "--point", "incentre", "--info"},
                    "--polyhedron excludes --point"},
        RefusedCase{"PointWithGallery",
                    {"--gallery", "g", "--point", "incentre"},
                    "--gallery excludes --point"},
        RefusedCase{"DualWithoutPolyhedron",
                    {"--dual", "-o", "a.png"},
                    "--dual requires --polyhedron or --point"},
        RefusedCase{"MarkPolyhedronWithoutPolyhedron",
                    {"--mark-polyhedron", "-o", "a.png"},
                    "--mark-polyhedron requires --polyhedron or --point"},
        RefusedCase{"DualOfAPicture",
                    {"--point", "incentre", "--dual", "-o", "a.png"},
                    "--dual writes the dual as a model; it requires -o NAME.off, .obj, .stl or "
                    ".glb"},
        RefusedCase{"ModelWithoutPolyhedron",
                    {"-o", "a.stl"},
                    "-o 'a.stl' writes the model of a polyhedron: give --polyhedron or --point"},
        RefusedCase{"ModelWithZoom",
                    {"--point", "incentre", "-o", "a.obj", "--zoom", "2"},
                    "-o 'a.obj' writes a model and draws nothing; it cannot be combined with "
                    "--zoom"},
        RefusedCase{"ModelWithAMark",
                    {"--point", "incentre", "-o", "a.obj", "--mark-polyhedron"},
                    "-o 'a.obj' writes a model and draws nothing; it cannot be combined with "
                    "--mark-polyhedron"},
        RefusedCase{"SnubWithJobs",
                    {"--jobs", "2", "--snub"},
                    "--snub without -o draws nothing; it cannot be combined with --jobs"}),
    RowName());

// The first value refused in the order of the arguments wins; then the combinations, in the
// order of the options' declarations; then the arguments that are no option.
INSTANTIATE_TEST_SUITE_P(
    SeveralProblems, RefusedLine,
    testing::Values(
        RefusedCase{"UnknownBeforeBadValue",
                    {"--bogus", "--zoom", "99"},
                    "--zoom: must be a number from 0.25 to 16, not '99'"},
        RefusedCase{"BadValueBeforeUnknown",
                    {"--zoom", "99", "--bogus"},
                    "--zoom: must be a number from 0.25 to 16, not '99'"},
        RefusedCase{"UnknownAfterACombination",
                    {"--bogus", "--mark-snub", "--snub"},
                    "--mark-snub requires --output or --gallery"},
        RefusedCase{"MalformedTriangleBeforeACombination",
                    {"--code", "x", "--triangle", "2, 3, 3"},
                    "--triangle: the triangle \"2, 3, 3\" has a comma (the usual notation is "
                    "three numbers p q r separated by blanks, each a whole number n or a "
                    "fraction n/d, as in \"2 3 3\" or \"5/2 3 3\")"},
        RefusedCase{"FirstOfTwoBadValues",
                    {"--rotation", "7", "--zoom", "99"},
                    "--rotation: must be 0, 1 or 2, not '7'"},
        RefusedCase{"BadValueBeforeACombination",
                    {"--mark-snub", "--zoom", "0"},
                    "--zoom: must be a number from 0.25 to 16, not '0'"},
        // CLI11 checks the exclusions of one option in an order of its own.
        RefusedCase{"GalleryBeforeRuns",
                    {"--runs", "--zoom", "2", "--gallery", "g"},
                    testing::AnyOf(galleryWithRuns, "--runs excludes --zoom")},
        RefusedCase{"GalleryInTheOrderOfItsList",
                    {"--gallery", "g", "--mark-snub", "--snub", "--runs"},
                    galleryWithRuns},
        // The marks' need of a picture is checked after CLI11's combinations.
        RefusedCase{"PermutationsBeforeMarkSnub",
                    {"--mark-snub", "--permutations"},
                    "--permutations requires --gallery"},
        RefusedCase{"MarkSnubBeforeRuns",
                    {"--runs", "--zoom", "2", "--mark-snub"},
                    "--runs excludes --zoom"},
        RefusedCase{"CombinationBeforeNothingToDo", {"--fps", "10"}, "--fps requires --turntable"},
        RefusedCase{"BadValueBeforeHelp",
                    {"--help", "--zoom", "99"},
                    "--zoom: must be a number from 0.25 to 16, not '99'"}),
    RowName());

struct ActionCase {
    const char* name;
    std::vector<std::string> args;
    Action action;
    friend void PrintTo(const ActionCase& c, std::ostream* os) { *os << c.name; }
};

class HelpAndVersion : public testing::TestWithParam<ActionCase> {};

TEST_P(HelpAndVersion, SkipTheCombinations) {
    EXPECT_EQ(parseCommandLine(GetParam().args).action, GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HelpAndVersion,
    testing::Values(ActionCase{"Help", {"--help"}, Action::help},
                    ActionCase{"ShortHelp", {"-h"}, Action::help},
                    ActionCase{"Version", {"--version"}, Action::version},
                    ActionCase{"HelpBeforeVersion", {"--version", "--help"}, Action::help},
                    ActionCase{"HelpOverACombination", {"--mark-snub", "-h"}, Action::help},
                    ActionCase{"HelpOverAnUnknownOption", {"--help", "--bogus"}, Action::help},
                    ActionCase{"ShortOptionsRunTogether", {"-hx"}, Action::help},
                    ActionCase{"VersionOverACombination",
                               {"--gallery", "g", "--runs", "--version"},
                               Action::version}),
    RowName());

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(Help, DescribesEveryOption) {
    const std::string help = helpText();
    EXPECT_TRUE(help.starts_with("Usage: vantu-render [OPTION]...\n")) << help;
    for (const char* text : {"--code TEXT",
                             "--rotation 0|1|2",
                             "--projection stereo|gnome|ortho|halfplane",
                             "-o, --output FILE",
                             "--zoom K",
                             "--antialias N",
                             "--jobs N",
                             "--gallery DIR",
                             "--permutations",
                             "--snub",
                             "--mark-snub",
                             "--mark-mirrors",
                             "--mark-group",
                             "--mark-triangle",
                             "--mark-polyhedron",
                             "--polyhedron \"SYMBOL\"",
                             "--point POINT",
                             "--dual",
                             "--triangle \"P Q R\"",
                             "--info",
                             "--turntable N",
                             "--fps F",
                             "-h, --help",
                             "--version",
                             "progress bar",
                             "index.html",
                             "Exit status"}) {
        EXPECT_NE(help.find(text), std::string::npos) << text;
    }
}

// Each option's line begins with two blanks, its names and placeholder end before two blanks,
// and every name is one the parser knows; no line is wider than 96 columns.
TEST(Help, LinesAreLaidOutForReadersAndTheManPageTest) {
    int options = 0;
    for (const std::string& line : linesOf(helpText())) {
        EXPECT_LE(line.size(), 96U) << line;
        if (!line.starts_with("  -")) {
            EXPECT_FALSE(std::regex_search(line, std::regex("^ {1,25}-"))) << line;
            continue;
        }
        ++options;
        const std::string column = line.substr(2, line.find("  ", 2) - 2);
        const std::regex name("--?[a-z][a-z-]*");
        for (auto it = std::sregex_iterator(column.begin(), column.end(), name);
             it != std::sregex_iterator(); ++it) {
            try {
                (void)parseCommandLine({it->str()});
            } catch (const UsageError& e) {
                EXPECT_FALSE(std::string(e.what()).starts_with("unknown option")) << e.what();
            }
        }
    }
    EXPECT_EQ(options, 29);
}

// The arguments that describe a picture read back through vantu-render's own parser as that
// picture, with the output that any command needs.
TEST(DescribedPicture, OfRenderArgumentsIsTheSameDescription) {
    PictureDescription description;
    description.request = {"-o", 2, true, -1.0 / 3.0, Projection::orthographic};
    description.view = {1e-9, -720.0, 0.1};
    description.size = {1921, 1081};
    description.sampling = {1.5, 2};
    std::vector<std::string> args = options::renderArguments(description);
    args.insert(args.end(), {"-o", "a.png"});
    const ParsedLine line = parseCommandLine(args);
    ASSERT_EQ(line.action, Action::run);
    testing_support::expectSameDescription(options::describedPicture(line.command.picture),
                                           description);
}

TEST(DescribedPicture, KeepsTheRequestAndReadsTheScaleByItsLeadingNumber) {
    const Command command =
        parseCommandLine({"--runs", "--code", "311 3/2:3/2:3/2", "--scale", " 12.5xyz"}).command;
    const DrawRequest request = options::describedPicture(command.picture).request;
    EXPECT_EQ(request.scale, 12.5);
    EXPECT_EQ(request.triangleCode, "311 3/2:3/2:3/2");
}

TEST(DescribedPicture, ReportsAScaleBeyondTheRangeOfNumbers) {
    Command command;
    command.picture.scaleText = "1e999";
    EXPECT_THROW_MSG((void)options::describedPicture(command.picture), DrawError,
                     "the scale R \"1e999\" is beyond the range of numbers: overflow");
}

}  // namespace
}  // namespace vantu::cli
