// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The picture options both programs share: a description written as vantu-render's arguments
// and read back by the same declarations is the same description, bit for bit; what they refuse
// and in which words; and the arguments quoted for a shell, read back by a real one.

#include "options/picture_options.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/run_program.h"
#include "tests/same_description.h"
#include "tests/test_support.h"

namespace vantu::options {
namespace {

// A fresh command line with every picture option, as vantu-render declares them.
struct PictureLine {
    PictureOptions options;
    CLI::App app{"", "test"};
    PictureLine() {
        (void)addDrawingOptions(app, options);
        (void)addSizeOption(app, options);
        (void)addSamplingOptions(app, options);
    }
    PictureDescription read(const std::vector<std::string>& args) {
        std::vector<std::string> unread(args.rbegin(), args.rend());
        app.parse(unread);
        return describedPicture(options);
    }
};

struct DescriptionCase {
    const char* name;
    PictureDescription description;
    friend void PrintTo(const DescriptionCase& c, std::ostream* os) { *os << c.name; }
};

PictureDescription withScale(double scale) {
    PictureDescription d;
    d.request.scale = scale;
    return d;
}

PictureDescription withView(View view) {
    PictureDescription d;
    d.view = view;
    return d;
}

PictureDescription withCode(const char* code) {
    PictureDescription d;
    d.request.triangleCode = code;
    return d;
}

PictureDescription withTriangle(const char* text) {
    PictureDescription d;
    d.request.triangleCode = text;
    d.request.notation = TriangleNotation::schwarz;
    return d;
}

PictureDescription everything() {
    PictureDescription d;
    d.request = {"411 3/1:4/3:4/1", 2, true, 1.0 / 3.0, Projection::gnomonic};
    d.view = {-0.1, 1e-9, 720.0};
    d.size = {7, 1201};
    d.sampling = {1.25, 3};
    return d;
}

const double subnormal = std::numeric_limits<double>::denorm_min();

const DescriptionCase descriptions[] = {
    {"StartUp", {}},
    {"Everything", everything()},
    {"ScaleATenth", withScale(0.1)},
    {"ScaleTiny", withScale(1e-300)},
    {"ScaleSubnormal", withScale(subnormal)},
    {"ScaleLargest", withScale(DBL_MAX)},
    {"ScaleWithAHalf", withScale(97.5)},
    {"ScaleAThird", withScale(1.0 / 3.0)},
    {"ScaleNegative", withScale(-120.0)},
    {"ScaleNegativeThird", withScale(-1.0 / 3.0)},
    {"ScaleNegativeZero", withScale(-0.0)},
    {"ScaleZero", withScale(0.0)},
    {"ScaleJustAboveOne", withScale(std::nextafter(1.0, 2.0))},
    {"ViewTiny", withView({1e-9, -1e-9, 5e-324})},
    {"ViewTwoTurns", withView({720.0, -720.0, 360.00000000000006})},
    {"ViewNegativeZeros", withView({-0.0, -0.0, 0.0})},
    {"ViewThirds", withView({1.0 / 3.0, -2.0 / 3.0, 0.1})},
    {"ViewHuge", withView({1e300, -DBL_MAX, 123456789.123456789})},
    {"SmallestPicture",
     [] {
         PictureDescription d;
         d.size = {1, 1};
         d.sampling = {minRatio, maxAntialias};
         return d;
     }()},
    {"LargestPicture",
     [] {
         PictureDescription d;
         d.size = {maxPictureSide, maxPictureSide};
         d.sampling = {maxRatio, 1};
         return d;
     }()},
    {"ScreenRatio",
     [] {
         PictureDescription d;
         d.sampling.ratio = 1.5;
         return d;
     }()},
    {"AwkwardRatio",
     [] {
         PictureDescription d;
         d.sampling.ratio = 1.0 / 3.0;
         return d;
     }()},
    {"Rotation1Ortho",
     [] {
         PictureDescription d;
         d.request.rotation = 1;
         d.request.projection = Projection::orthographic;
         return d;
     }()},
    {"CodeEmpty", withCode("")},
    {"CodeLikeAnOption", withCode("-o")},
    {"CodeDoubleDash", withCode("--")},
    {"CodeLikeALongOption", withCode("--runs")},
    {"CodeWithEqualsSign", withCode("=x")},
    {"CodeWithQuotes", withCode("it's \"300\"")},
    {"CodeForAShell", withCode("$(rm -rf ~) `id` $HOME; a && b | c > d")},
    {"CodeWithNewlineAndTab", withCode("300\n2/1:3/1\t:3/1")},
    {"CodeWithBlanksAround", withCode("  300 2/1:3/1:3/1  ")},
    {"CodeUnicode", withCode("\u202E300 \u00B0")},
    {"CodeThatReadsAsATriangle", withCode("2 3 3")},
    {"Triangle", withTriangle("2 3 3")},
    {"TriangleAsTyped", withTriangle(" 05/2\t3  3 ")},
    {"TriangleWithManyDigits", withTriangle("2 2 123456789012345678901234567890/7")},
    {"TriangleOfTheHyperbolicPlane", withTriangle("2 3 7")},
    {"TriangleEverything",
     [] {
         PictureDescription d = everything();
         d.request.triangleCode = "5/3 3/2 3";
         d.request.notation = TriangleNotation::schwarz;
         return d;
     }()},
};

class RenderArguments : public testing::TestWithParam<DescriptionCase> {};

TEST_P(RenderArguments, ReadBackAsTheSameDescription) {
    const PictureDescription& d = GetParam().description;
    PictureLine line;
    testing_support::expectSameDescription(line.read(renderArguments(d)), d);
}

INSTANTIATE_TEST_SUITE_P(Descriptions, RenderArguments, testing::ValuesIn(descriptions), RowName());

TEST(RenderArguments, NameEveryInputAndTheSamplingOnlyWhenNotOne) {
    EXPECT_EQ(renderArguments({}),
              (std::vector<std::string>{"--code", "300 2/1:3/1:3/1", "--rotation", "0", "--scale",
                                        "120", "--projection", "stereo", "--view", "0,0,0",
                                        "--size", "640x481"}));
    EXPECT_EQ(renderArguments(everything()),
              (std::vector<std::string>{"--code", "411 3/1:4/3:4/1", "--rotation", "2", "--reverse",
                                        "--scale", "0.3333333333333333", "--projection", "gnome",
                                        "--view", "-0.1,1e-09,720", "--size", "7x1201", "--zoom",
                                        "1.25", "--antialias", "3"}));
    EXPECT_EQ(renderArguments(withTriangle("5/2 3 3")),
              (std::vector<std::string>{"--triangle", "5/2 3 3", "--rotation", "0", "--scale",
                                        "120", "--projection", "stereo", "--view", "0,0,0",
                                        "--size", "640x481"}));
}

struct BadDescriptionCase {
    const char* name;
    PictureDescription description;
    friend void PrintTo(const BadDescriptionCase& c, std::ostream* os) { *os << c.name; }
};

class UndescribablePicture : public testing::TestWithParam<BadDescriptionCase> {};

TEST_P(UndescribablePicture, IsRefused) {
    EXPECT_THROW((void)renderArguments(GetParam().description), std::invalid_argument);
}

const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Descriptions, UndescribablePicture,
    testing::Values(BadDescriptionCase{"ScaleInfinite", withScale(inf)},
                    BadDescriptionCase{"ScaleNotANumber", withScale(nan)},
                    BadDescriptionCase{"ViewInfinite", withView({0, -inf, 0})},
                    BadDescriptionCase{"ViewNotANumber", withView({0, 0, nan})},
                    BadDescriptionCase{"RotationThree",
                                       [] {
                                           PictureDescription d;
                                           d.request.rotation = 3;
                                           return d;
                                       }()},
                    BadDescriptionCase{"SizeZero",
                                       [] {
                                           PictureDescription d;
                                           d.size = {0, 481};
                                           return d;
                                       }()},
                    BadDescriptionCase{"RatioTooSmall",
                                       [] {
                                           PictureDescription d;
                                           d.sampling.ratio = 0.2;
                                           return d;
                                       }()},
                    BadDescriptionCase{"TriangleEmpty", withTriangle("")},
                    BadDescriptionCase{"TriangleAsACode", withTriangle("300 2/1:3/1:3/1")},
                    BadDescriptionCase{"AntialiasNine",
                                       [] {
                                           PictureDescription d;
                                           d.sampling.antialias = 9;
                                           return d;
                                       }()}),
    RowName());

struct RefusedCase {
    const char* name;
    std::vector<std::string> args;
    const char* message;
    friend void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }
};

class RefusedValue : public testing::TestWithParam<RefusedCase> {};

// The checks come with the declarations: any program that declares the options refuses the
// same values in the same words.
TEST_P(RefusedValue, InTheOptionsOwnWords) {
    PictureLine line;
    EXPECT_THROW_MSG((void)line.read(GetParam().args), CLI::ValidationError, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RefusedValue,
    testing::Values(
        RefusedCase{"Rotation", {"--rotation", "1.0"}, "--rotation: must be 0, 1 or 2, not '1.0'"},
        RefusedCase{"TriangleOfTwo",
                    {"--triangle", "2 3"},
                    "--triangle: the triangle \"2 3\" has 2 numbers, not 3 (the usual notation is "
                    "three numbers p q r separated by blanks, each a whole number n or a "
                    "fraction n/d, as in \"2 3 3\" or \"5/2 3 3\")"},
        RefusedCase{"Projection",
                    {"--projection", "Stereo"},
                    "--projection: must be stereo, gnome, ortho or halfplane, not 'Stereo'"},
        RefusedCase{"ViewHex",
                    {"--view", "0x1,0,0"},
                    "--view: must be three numbers LON,LAT,ROLL in degrees, not '0x1,0,0': LON "
                    "'0x1' is not a decimal number"},
        RefusedCase{"ViewNotANumber",
                    {"--view", "nan,0,0"},
                    "--view: must be three numbers LON,LAT,ROLL in degrees, not 'nan,0,0': LON "
                    "'nan' is not a decimal number"},
        RefusedCase{"ViewEmptyAngle",
                    {"--view", "1,,2"},
                    "--view: must be three numbers LON,LAT,ROLL in degrees, not '1,,2': LAT is "
                    "empty"},
        RefusedCase{"ViewSigned",
                    {"--view", "+5,+5,+5"},
                    "--view: must be three numbers LON,LAT,ROLL in degrees, not '+5,+5,+5': LON "
                    "'+5' has the sign '+'"},
        RefusedCase{"ViewWithBlanks",
                    {"--view", " 1, 2, 3"},
                    "--view: must be three numbers LON,LAT,ROLL in degrees, not ' 1, 2, 3': LON "
                    "' 1' has a blank"},
        RefusedCase{"ViewRollBeyondDoubles",
                    {"--view", "0,0,-1e309"},
                    "--view: must be three numbers LON,LAT,ROLL in degrees, not '0,0,-1e309': "
                    "ROLL '-1e309' is beyond the range of numbers"},
        RefusedCase{"SizeWithBlank",
                    {"--size", "640 x481"},
                    "--size: must be WIDTHxHEIGHT, two whole numbers from 1 to 16384, not "
                    "'640 x481'"},
        RefusedCase{"SizeOfThree",
                    {"--size", "1x2x3"},
                    "--size: must be WIDTHxHEIGHT, two whole numbers from 1 to 16384, not "
                    "'1x2x3'"},
        RefusedCase{"ZoomNotANumber",
                    {"--zoom", "nan"},
                    "--zoom: must be a number from 0.25 to 16, not 'nan'"},
        RefusedCase{
            "ZoomHex", {"--zoom", "0x2"}, "--zoom: must be a number from 0.25 to 16, not '0x2'"},
        RefusedCase{"AntialiasSigned",
                    {"--antialias", "+2"},
                    "--antialias: must be a whole number from 1 to 8, not '+2'"}),
    RowName());

// A text in the usual notation and a code cannot both be given, in either order.
TEST(PictureOptions, TakeACodeOrATriangleNotBoth) {
    for (const auto& args : {std::vector<std::string>{"--code", "x", "--triangle", "2 3 3"},
                             std::vector<std::string>{"--triangle", "2 3 3", "--code", "x"}}) {
        PictureLine line;
        EXPECT_THROW((void)line.read(args), CLI::ExcludesError);
    }
}

TEST(PictureOptions, ReadLeadingZerosAsDecimal) {
    PictureLine line;
    const PictureDescription d = line.read({"--size", "0640x0099", "--antialias", "08"});
    EXPECT_EQ(d.size, (PictureSize{640, 99}));
    EXPECT_EQ(d.sampling.antialias, 8);
}

// An angle too small for doubles reads as a zero of its sign, as the scale reads such a number.
TEST(PictureOptions, ReadAnAngleTooSmallForDoublesAsZero) {
    PictureLine line;
    const View v = line.read({"--view", "1e-400,-1e-400,4e-324"}).view;
    EXPECT_EQ(v, (View{0.0, 0.0, 5e-324}));
    EXPECT_TRUE(std::signbit(v.lat));
    EXPECT_EQ(readScale("1e-400"), 0.0);
}

struct QuotedCase {
    const char* name;
    std::vector<std::string> words;
    const char* line;
    friend void PrintTo(const QuotedCase& c, std::ostream* os) { *os << c.name; }
};

class ShellQuoted : public testing::TestWithParam<QuotedCase> {};

TEST_P(ShellQuoted, IsTheLineExpected) {
    EXPECT_EQ(shellQuoted(GetParam().words), GetParam().line);
}

// A POSIX shell splits the line back into the very words: bash, and /bin/sh where the line
// needs no $'...'. The line shows no character that a message would escape.
TEST_P(ShellQuoted, GivesAShellTheSameWords) {
    const std::vector<std::string>& words = GetParam().words;
    const std::string line = shellQuoted(words);
    EXPECT_EQ(escapeText(line), line);
    EXPECT_EQ(testing_support::shellWords(line), words);
    if (line.find("$'") == std::string::npos) {
        EXPECT_EQ(testing_support::shellWords(line, "/bin/sh"), words);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Words, ShellQuoted,
    testing::Values(
        QuotedCase{"PlainWords",
                   {"vantu-render", "--view", "-1e-09,0.5,720", "--size", "7x1201", "-o",
                    "a/b_c@d%e+f=g:h.png"},
                   "vantu-render --view -1e-09,0.5,720 --size 7x1201 -o a/b_c@d%e+f=g:h.png"},
        QuotedCase{"CodeWithBlanks", {"--code", "300 2/1:3/1:3/1"}, "--code '300 2/1:3/1:3/1'"},
        QuotedCase{"Empty", {"--code", ""}, "--code ''"},
        QuotedCase{"SingleQuotes", {"it's", "'", "''"}, "'it'\\''s' ''\\''' ''\\'''\\'''"},
        QuotedCase{"DoubleQuotes", {"say \"hi\""}, "'say \"hi\"'"},
        QuotedCase{"Dollars", {"$HOME", "${x}", "$(id)"}, "'$HOME' '${x}' '$(id)'"},
        QuotedCase{"Backquotes", {"`id`"}, "'`id`'"},
        // What a message escapes goes in $'...', as escapes.
        QuotedCase{"Newline", {"a\nb\rc"}, "$'a\\nb\\rc'"},
        QuotedCase{"NotUtf8", {"a\xff", "\xc3"}, "$'a\\377' $'\\303'"},
        QuotedCase{"EscapesWithQuotesAndBackslashes", {"it's\\\n$x"}, "$'it\\'s\\\\\\n$x'"},
        QuotedCase{"Backslashes", {"a\\b\\"}, "'a\\b\\'"},
        QuotedCase{"Operators",
                   {";", "&&", "|", ">x", "<y", "*", "?", "[a]", "~", "#", "!"},
                   "';' '&&' '|' '>x' '<y' '*' '?' '[a]' '~' '#' '!'"},
        QuotedCase{"TabAndControl", {"a\tb", "\x1B[2J", "\x7f"}, "$'a\\tb' $'\\033[2J' $'\\177'"},
        QuotedCase{"NotAscii", {"\u00B0", "\u202Ex"}, "'\u00B0' $'\\342\\200\\256x'"}),
    RowName());

}  // namespace
}  // namespace vantu::options
