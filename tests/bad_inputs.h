// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What users may type: each input either draws exactly this picture or stops with exactly this
// fault, after exactly these rows. One table for the core's tests and vantu-render's.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "geometry/draw_error.h"
#include "geometry/projection.h"

namespace vantu::testing_support {

struct Fault {
    FaultKind kind;
    std::string message;
};

struct BadInput {
    const char* name;
    std::string code;
    std::string scale;
    Projection projection = Projection::stereographic;
    int rotation = 0;
    bool reverse = false;
    // Either the fault, which always comes before the first run, or the picture's run count
    // and FNV-1a hash over its runs.
    std::optional<Fault> fault;
    int runs = 0;
    std::uint64_t hash = 0;
    friend void PrintTo(const BadInput& c, std::ostream* os) { *os << c.name; }
};

// The words of the table.
namespace bad_input_rows {

inline const std::string megabyte(1 << 20, 'x');
inline const std::string startUp = "300 2/1:3/1:3/1";
inline constexpr auto stereo = Projection::stereographic;
inline constexpr auto gnome = Projection::gnomonic;
inline constexpr auto ortho = Projection::orthographic;

inline BadInput drawn(const char* name, std::string code, std::string scale, Projection projection,
                      int runs, std::uint64_t hash, int rotation = 0, bool reverse = false) {
    return {name, std::move(code), std::move(scale), projection, rotation, reverse, {}, runs, hash};
}

inline BadInput fails(const char* name, std::string code, std::string scale, FaultKind kind,
                      std::string message, Projection projection = stereo) {
    return {name,
            std::move(code),
            std::move(scale),
            projection,
            0,
            false,
            Fault{kind, std::move(message)}};
}

inline const FaultKind divisionByZero = FaultKind::divisionByZero;
inline const FaultKind invalid = FaultKind::invalidOperation;
inline const FaultKind overflow = FaultKind::overflow;

// The end of every message about a code that does not read as one.
inline const std::string codeHint =
    " (a code reads as a label, a blank and three fractions p/q, as in \"300 2/1:3/1:3/1\")";

inline std::string noDivisor(int position) {
    return "the triangle code has no divisor digit at position " + std::to_string(position) +
           " (fraction " + std::to_string((position - 1) / 4) + "): division by zero" + codeHint;
}

inline std::string notATriangle(const std::string& angles, const std::string& what) {
    return "the angles " + angles + " do not form a spherical triangle: " + what +
           " while solving side c";
}

inline const std::string sqrtNegative = "square root of a negative number";

inline const BadInput badInputs[] = {

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
          "the triangle code has the divisor 0 at position 13 (fraction 3): division by zero" +
              codeHint),
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
    // A code is solved on the sphere; one of a plane's triangles says where the usual notation
    // draws it.
    fails("SumBelowHalfTurn", "700 2/1:3/1:7/1", "120", invalid,
          notATriangle("90\u00B0, 60\u00B0, 25.71\u00B0", sqrtNegative) +
              "; in the usual notation, \"2 3 7\" draws it in the hyperbolic plane"),
    fails("SumAtHalfTurn", "000 2/1:4/1:4/1", "120", invalid,
          notATriangle("90\u00B0, 45\u00B0, 45\u00B0", sqrtNegative) +
              "; in the usual notation, \"2 4 4\" draws it in the Euclidean plane"),
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

}  // namespace bad_input_rows

using bad_input_rows::badInputs;

}  // namespace vantu::testing_support
