// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The two ways to write a triangle: a code, "300 2/1:3/1:3/1", and the usual notation of
// Schwarz, "2 3 3", where each number p stands for the angle pi / p and a fraction n/d for the
// angle (pi / n) * d, as a code's fraction p/q gives (pi / p) * q.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/triangle_code.h"

namespace vantu {

// How a triangle's text is written.
enum class TriangleNotation {
    code,     // a code, as the window's box and the catalogue hold it: "300 2/1:3/1:3/1"
    schwarz,  // the usual notation: "2 3 3", "5/2 3 3"
};

// What the usual notation looks like, for the end of a message about a text that does not read
// as it.
inline constexpr std::string_view schwarzForm =
    "(the usual notation is three numbers p q r separated by blanks, each a whole number n or a "
    "fraction n/d, as in \"2 3 3\" or \"5/2 3 3\")";

// Which notation `text` is written in, by its form: a text with a colon is a code, any other is
// in the usual notation. Every catalogue code has colons; no text in the usual notation has one.
[[nodiscard]] TriangleNotation notationOf(std::string_view text) noexcept;

// Why `text` is not a triangle in the usual notation, as a message ending with schwarzForm;
// nothing when it is one. The notation: blanks (spaces or tabs) around and between exactly
// three numbers, each digits, or digits, a slash and digits; any number of digits, and no
// number or part of a fraction that is 0. A sign, a comma, a letter or any other character, a
// second slash, a slash without digits on both sides, an empty text and a number beyond the
// range of doubles are refused, the first fault from the left named.
[[nodiscard]] std::optional<std::string> schwarzNotationFault(std::string_view text);

// The same fault without the quoted text before it and the form after it, as in "has a zero in
// \"0\"" or "has 2 numbers, not 3", for a message about a text that holds the notation's numbers
// among other things (a Wythoff symbol); nothing when `text` is in the notation.
[[nodiscard]] std::optional<std::string> schwarzNumbersFault(std::string_view text);

// The words of `text` in the usual notation: the runs between blanks (spaces and tabs), in order.
[[nodiscard]] std::vector<std::string_view> notationWords(std::string_view text);

// The fractions of `text` in the usual notation, exactly: n/d gives the divisor n and the
// multiplier d, a whole number n the divisor n and the multiplier 1, every digit kept. Throws
// DrawError (invalid operation, stage code) with schwarzNotationFault's message when `text` is
// not in the notation.
[[nodiscard]] ExactFractions exactSchwarzFractions(std::string_view text);

// exactSchwarzFractions with each number the double nearest to its digits, as the drawing takes
// them.
[[nodiscard]] TriangleFractions schwarzFractions(std::string_view text);

// The fractions of `text` written in `notation`: codeFractions or schwarzFractions. Throws as
// schwarzFractions does.
[[nodiscard]] TriangleFractions triangleFractions(std::string_view text, TriangleNotation notation);

// The same exactly: exactCodeFractions or exactSchwarzFractions.
[[nodiscard]] ExactFractions exactFractions(std::string_view text, TriangleNotation notation);

// The three angles of `text` written in `notation`, in radians, in the order of the text: for a
// code parseTriangleCode; for the usual notation (pi / n) * d for each number, exactly as a
// code's fraction gives it, so that "2 3 3" gives the angles of "300 2/1:3/1:3/1" bit for bit.
// Throws DrawError (stage code) as parseTriangleCode and schwarzFractions do.
[[nodiscard]] CodeAngles parseTriangle(std::string_view text, TriangleNotation notation, double pi);

// triangleDefect for `text` written in `notation`. Throws DrawError as parseTriangle does.
[[nodiscard]] std::optional<std::string> triangleDefect(std::string_view text,
                                                        TriangleNotation notation);

// sphericalDefect for `text` written in `notation`. Throws DrawError as parseTriangle does.
[[nodiscard]] std::optional<std::string> sphericalDefect(std::string_view text,
                                                         TriangleNotation notation);

// Throws DrawError (invalid operation, stage triangle) whose message is triangleDefect's when the
// angles of `text` bound no proper triangle in any geometry, and as parseTriangle does for a text
// that does not read; returns when they bound one. A code, which is solved on the sphere, must
// bound a proper spherical triangle: sphericalDefect's message, ending with planeNotationHint's
// words for a code of a plane's triangle.
void requireProperTriangle(std::string_view text, TriangleNotation notation);

// For a code whose angles bound a proper triangle of the Euclidean or the hyperbolic plane, which
// a code never draws: where the usual notation draws it, as in "in the usual notation, \"2 3 7\"
// draws it in the hyperbolic plane". Nothing for any other code. Throws DrawError as
// parseTriangleCode does.
[[nodiscard]] std::optional<std::string> planeNotationHint(std::string_view code);

// `fractions` in the usual notation, without parentheses: "2 3 3", "5/2 3 3"; a multiplier of 1
// is left out. Whole numbers are written exactly, with all their digits and no leading zeros.
[[nodiscard]] std::string schwarzText(const ExactFractions& fractions);

}  // namespace vantu
