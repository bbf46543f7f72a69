// vantu-render as a user runs it: exit statuses, messages, the run list and the PNG.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <cstdio>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "drawing/draw_procedure.h"
#include "render/image_sink.h"
#include "tests/run_program.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::Outcome;

std::string scratch(const std::string& name) {
    return testing::TempDir() + "vantu-cli-" + std::to_string(::getpid()) + "-" + name;
}

Outcome runCli(const std::vector<std::string>& args) {
    return testing_support::runProgram(VANTU_RENDER, args);
}

const std::string tryHelp = "Try 'vantu-render --help' for more information.\n";

struct CliCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err;  // exact
    friend void PrintTo(const CliCase& c, std::ostream* os) { *os << c.name; }
};

class CommandLine : public testing::TestWithParam<CliCase> {};

TEST_P(CommandLine, ExitsWithStatusAndMessage) {
    const CliCase& c = GetParam();
    const Outcome o = runCli(c.args);
    EXPECT_EQ(o.status, c.status);
    EXPECT_EQ(o.err, c.err);
    if (c.status != 0) {
        EXPECT_EQ(o.out, "") << "nothing is printed before a fault in the set-up";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLine,
    testing::Values(
        CliCase{"NothingToDo",
                {},
                2,
                "vantu-render: nothing to do: give -o FILE.png, --runs, --snub or --gallery DIR\n" +
                    tryHelp},
        CliCase{
            "UnknownOption", {"--bogus"}, 2, "vantu-render: unknown option '--bogus'\n" + tryHelp},
        CliCase{"BadRotation",
                {"--rotation", "3", "--runs"},
                2,
                "vantu-render: --rotation must be 0, 1 or 2, not '3'\n" + tryHelp},
        CliCase{"BadProjection",
                {"--projection=mercator", "--runs"},
                2,
                "vantu-render: --projection must be stereo, gnome or ortho, not 'mercator'\n" +
                    tryHelp},
        CliCase{"MissingValue",
                {"--runs", "--code"},
                2,
                "vantu-render: option '--code' needs a value\n" + tryHelp},
        CliCase{"ValueForAFlag",
                {"--reverse=yes", "--runs"},
                2,
                "vantu-render: option '--reverse' takes no value\n" + tryHelp},
        CliCase{"LetterAtPosition5",
                {"--code", "300 x/1:3/1:3/1", "--runs"},
                1,
                "vantu-render: the triangle code has no divisor digit at position 5 (fraction 1): "
                "division by zero\n"},
        CliCase{"NotATriangle",
                {"--code=700 2/1:3/1:7/1", "--runs"},
                1,
                "vantu-render: the angles 90\u00B0, 60\u00B0, 25.71\u00B0 do not form a spherical "
                "triangle: square root of a negative number while solving side c\n"},
        CliCase{"ScaleZero",
                {"--scale", "0", "--runs"},
                1,
                "vantu-render: the scale R is 0: division by zero in row 0\n"},
        CliCase{"ScaleTooLarge",
                {"--scale", "1e999", "--runs"},
                1,
                "vantu-render: the scale R \"1e999\" is beyond the range of numbers: overflow\n"},
        CliCase{"UnwritableFile",
                {"-o", "/nonexistent-dir/x.png"},
                1,
                "vantu-render: cannot write '/nonexistent-dir/x.png'\n"}),
    RowName());

TEST(CommandLine, HelpAndVersion) {
    const Outcome help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: vantu-render [OPTION]...\n", 0), 0U);
    for (const char* option : {"--code", "--rotation", "--reverse", "--scale", "--projection",
                               "--output", "--runs", "--version"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    const Outcome version = runCli({"--version"});
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
    const Outcome o = runCli({"--runs", "--projection", GetParam().projection});
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

TEST(CommandLine, PngHoldsThePictureOfTheCore) {
    const std::string png = scratch("picture.png");
    const Outcome o = runCli({"--code", "411 3/1:4/3:4/1", "--rotation", "2", "--reverse",
                              "--scale", " 90.5 px", "--projection", "gnome", "-o", png});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "");
    const QImage image(QString::fromStdString(png));
    std::remove(png.c_str());
    ASSERT_EQ(image.width(), 640);
    ASSERT_EQ(image.height(), 481);
    DrawRequest request;
    request.triangleCode = "411 3/1:4/3:4/1";
    request.rotation = 2;
    request.reverse = true;
    request.scale = 90.5;
    request.projection = Projection::gnomonic;
    ImageSink expected;
    runDrawing(request, expected);
    for (int row = 0; row < pictureHeight; ++row) {
        for (int col = 0; col < pictureWidth; ++col) {
            const QRgb pixel = image.pixel(col, row);
            const PackedColour c = expected.at(col, row);
            ASSERT_EQ(pixel, qRgb(redOf(c), greenOf(c), blueOf(c))) << col << ", " << row;
        }
    }
}

TEST(CommandLine, PngAfterAFaultKeepsWhatWasDrawn) {
    const std::string png = scratch("fault.png");
    const Outcome o = runCli({"--scale", "0", "-o", png});
    EXPECT_EQ(o.status, 1);
    const QImage image(QString::fromStdString(png));
    std::remove(png.c_str());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "nothing was drawn";
    EXPECT_EQ(qAlpha(image.pixel(639, 480)), 0);
}

}  // namespace
}  // namespace vantu
