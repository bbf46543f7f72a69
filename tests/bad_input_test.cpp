// What users may type, through the core and through vantu-render: each input either draws
// exactly this picture or stops with exactly this fault, after exactly these rows.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "drawing/draw_procedure.h"
#include "geometry/draw_error.h"
#include "tests/checking_sink.h"
#include "tests/run_program.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::CheckingSink;

const std::string megabyte(1 << 20, 'x');
const std::string startUp = "300 2/1:3/1:3/1";
constexpr auto stereo = Projection::stereographic;
constexpr auto gnome = Projection::gnomonic;
constexpr auto ortho = Projection::orthographic;

struct Fault {
    FaultKind kind;
    std::string message;
};

struct BadInput {
    const char* name;
    std::string code;
    std::string scale;
    Projection projection = stereo;
    int rotation = 0;
    bool reverse = false;
    // Either the fault, which always comes before the first run, or the picture's run count
    // and FNV-1a hash over its runs.
    std::optional<Fault> fault;
    int runs = 0;
    std::uint64_t hash = 0;
    friend void PrintTo(const BadInput& c, std::ostream* os) { *os << c.name; }
};

BadInput drawn(const char* name, std::string code, std::string scale, Projection projection,
               int runs, std::uint64_t hash, int rotation = 0, bool reverse = false) {
    return {name, std::move(code), std::move(scale), projection, rotation, reverse, {}, runs, hash};
}

BadInput fails(const char* name, std::string code, std::string scale, FaultKind kind,
               std::string message, Projection projection = stereo) {
    return {name,
            std::move(code),
            std::move(scale),
            projection,
            0,
            false,
            Fault{kind, std::move(message)}};
}

const FaultKind divisionByZero = FaultKind::divisionByZero;
const FaultKind invalid = FaultKind::invalidOperation;
const FaultKind overflow = FaultKind::overflow;

std::string noDivisor(int position) {
    return "the triangle code has no divisor digit at position " + std::to_string(position) +
           " (fraction " + std::to_string((position - 1) / 4) + "): division by zero";
}

std::string notATriangle(const std::string& angles, const std::string& what) {
    return "the angles " + angles + " do not form a spherical triangle: " + what +
           " while solving side c";
}

const std::string sqrtNegative = "square root of a negative number";

const BadInput badInputs[] = {
    // Texts of every length around the read positions.
    fails("EmptyCode", "", "120", divisionByZero, noDivisor(5)),
    fails("OneCharacter", "3", "120", divisionByZero, noDivisor(5)),
    fails("FourCharacters", "300 ", "120", divisionByZero, noDivisor(5)),
    fails("TwelveCharacters", "300 2/1:3/1:", "120", divisionByZero, noDivisor(13)),
    fails("FourteenCharacters", "300 2/1:3/1:3/", "120", invalid,
          notATriangle("90\u00B0, 60\u00B0, 0\u00B0", sqrtNegative)),
    // The equal angles put ties on pixel centres, where the correctly rounded functions decide.
    drawn("FifteenCharacters", "311 3/2:3/2:3/2", "120", stereo, 5126, 0xa3b98d4dcf81dcdcULL),
    drawn("MegabyteAfterTheCode", startUp + megabyte, "120", stereo, 4746, 0xfe828355767a0afaULL),
    // Letters, blanks, "0" and other characters at the read positions.
    fails("LetterAtP1", "300 x/1:3/1:3/1", "120", divisionByZero, noDivisor(5)),
    fails("LetterAtQ1", "300 2/x:3/1:3/1", "120", divisionByZero,
          notATriangle("0\u00B0, 60\u00B0, 60\u00B0", "division by zero")),
    fails("BlankAtP2", "300 2/1: /1:3/1", "120", divisionByZero, noDivisor(9)),
    fails("LetterAtQ2", "300 2/1:3/x:3/1", "120", divisionByZero,
          notATriangle("90\u00B0, 0\u00B0, 60\u00B0", "division by zero")),
    fails("ZeroAtP3", "300 2/1:3/1:0/1", "120", divisionByZero,
          "the triangle code has the divisor 0 at position 13 (fraction 3): division by zero"),
    fails("ZeroAtQ3", "300 2/1:3/1:3/0", "120", invalid,
          notATriangle("90\u00B0, 60\u00B0, 0\u00B0", sqrtNegative)),
    fails("AccentAtP2", "300 2/1:\u00E9/1:3/1", "120", divisionByZero, noDivisor(9)),
    fails("EuroAtQ3", "300 2/1:3/1:3/\u20AC", "120", invalid,
          notATriangle("90\u00B0, 60\u00B0, 0\u00B0", sqrtNegative)),
    drawn("AccentsInTheLabel", "\u00E9\u00E9\u00E9 2/1:3/1:3/1", "120", stereo, 4746,
          0xfe828355767a0afaULL),
    // Digits beyond the catalogue's range, drawn as computed.
    drawn("NinthsOfHalfTurns", "000 9/8:9/8:9/8", "120", stereo, 4747, 0x34b586cd568c65ceULL),
    drawn("NinthsReversed", "000 9/8:9/8:9/8", "120", ortho, 4061, 0xb48dc1e1cde91d05ULL, 2, true),
    // Two mirrors in one plane: every distance ties, every pixel takes the exact path.
    drawn("StraightAngle", "000 2/2:3/1:3/1", "120", stereo, 15314, 0x6e73aaed38a306b2ULL),
    drawn("ReflexAngles", "000 3/4:3/4:3/4", "120", stereo, 5133, 0xdb42d97d095d7bfbULL),
    drawn("Sevenths", "000 7/6:7/5:7/4", "120", stereo, 1921, 0x9dcccd5bf2d3781eULL, 1),
    // Angle sums below, at and above a half turn.
    fails("SumBelowHalfTurn", "700 2/1:3/1:7/1", "120", invalid,
          notATriangle("90\u00B0, 60\u00B0, 25.71\u00B0", sqrtNegative)),
    fails("SumAtHalfTurn", "000 2/1:4/1:4/1", "120", invalid,
          notATriangle("90\u00B0, 45\u00B0, 45\u00B0", sqrtNegative)),
    drawn("SumJustAbove", "400 2/1:3/1:4/1", "120", gnome, 3091, 0x450181c5457d1d93ULL),
    // Scales.
    fails("ScaleZero", startUp, "0", divisionByZero, "the scale R is 0: division by zero in row 0"),
    fails("ScaleEmpty", startUp, "", divisionByZero, "the scale R is 0: division by zero in row 0"),
    fails("ScaleNegativeZero", startUp, "-0", divisionByZero,
          "the scale R is -0: division by zero in row 0"),
    fails("ScaleLetters", startUp, "abc", divisionByZero,
          "the scale R is 0: division by zero in row 0", gnome),
    fails("ScaleDenormal", startUp, "1e-320", overflow, "the scale R is 1e-320: overflow in row 0"),
    fails("ScaleTinyOrtho", startUp, "1e-152", overflow,
          "the scale R is 1e-152: overflow in row 0, column 0", ortho),
    drawn("ScaleHuge", startUp, "1e308", stereo, 962, 0x25afefc1ec3c2792ULL),
    fails("ScaleBeyondDoubles", startUp, "1e999", overflow,
          "the scale R \"1e999\" is beyond the range of numbers: overflow"),
    drawn("ScaleWithText", startUp, " 12.5xyz", stereo, 2793, 0xb9a0a5a5eb30a51dULL),
    drawn("ScalePlus", startUp, "+7", ortho, 658, 0x7a3551e3703c6718ULL),
    drawn("ScaleNegative", startUp, "-120", stereo, 4744, 0x397458b8f01751edULL),
    fails("ScaleMegabyteOfDigits", startUp, "1" + std::string(1 << 20, '0'), overflow,
          "the scale R \"1" + std::string(39, '0') +
              "...\" is beyond the range of numbers: overflow"),
    drawn("ScaleThenMegabyteOfBlanks", startUp, "120" + std::string(1 << 20, ' '), stereo, 4746,
          0xfe828355767a0afaULL),
};

class BadInputs : public testing::TestWithParam<BadInput> {};

TEST_P(BadInputs, ThroughTheCore) {
    const BadInput& c = GetParam();
    DrawRequest request;
    request.triangleCode = c.code;
    request.rotation = c.rotation;
    request.reverse = c.reverse;
    request.projection = c.projection;
    CheckingSink sink;
    std::optional<DrawError> fault;
    try {
        request.scale = readScale(c.scale);
        runDrawing(request, sink);
    } catch (const DrawError& e) {
        fault = e;
    }
    sink.finish(fault.has_value());
    EXPECT_EQ(sink.problem, "");
    if (c.fault) {
        ASSERT_TRUE(fault.has_value()) << "drawn: " << sink.runs << " runs";
        EXPECT_EQ(std::string(fault->what()), c.fault->message);
        EXPECT_EQ(fault->kind(), c.fault->kind);
        EXPECT_EQ(sink.rowsFinished, 0);
        EXPECT_EQ(sink.runs, 0);
        EXPECT_EQ(sink.pixelScaleSet, fault->stage() == FaultStage::scan);
        return;
    }
    ASSERT_FALSE(fault.has_value()) << fault->what();
    EXPECT_EQ(sink.runs, c.runs);
    EXPECT_EQ(sink.hash, c.hash) << std::hex << sink.hash;
}

// vantu-render gets each text as one argument, which Linux caps at 128 KiB: the megabyte texts
// go in cut to 100,000 characters, which keeps their outcome.
TEST_P(BadInputs, ThroughVantuRender) {
    const BadInput& c = GetParam();
    const auto cut = [](const std::string& s) { return s.substr(0, 100000); };
    const char* projection = c.projection == stereo  ? "stereo"
                             : c.projection == gnome ? "gnome"
                                                     : "ortho";
    std::vector<std::string> args = {"--runs",   "--code",     cut(c.code),
                                     "--scale",  cut(c.scale), "--projection",
                                     projection, "--rotation", std::to_string(c.rotation)};
    if (c.reverse) {
        args.emplace_back("--reverse");
    }
    const testing_support::Outcome o = testing_support::runProgram(VANTU_RENDER, args);
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

INSTANTIATE_TEST_SUITE_P(Inputs, BadInputs, testing::ValuesIn(badInputs), RowName());

}  // namespace
}  // namespace vantu
