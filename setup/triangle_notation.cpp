// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/triangle_notation.h"

#include <cmath>
#include <cstddef>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "geometry/draw_error.h"
#include "geometry/text.h"

namespace vantu {
namespace {

bool isBlank(char c) noexcept {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// The whole UTF-8 character that starts at byte `i` of `text`.
std::string_view characterFrom(std::string_view text, std::size_t i) noexcept {
    std::size_t end = i + 1;
    if (static_cast<unsigned char>(text[i]) >= 0xC0U) {
        while (end < text.size() && end - i < 4 &&
               (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) {
            ++end;
        }
    }
    return text.substr(i, end - i);
}

// Why a character cannot stand in the notation; nothing for a digit, a slash or a blank.
std::optional<std::string> characterFault(std::string_view text, std::size_t i) {
    const char c = text[i];
    if (isDigit(c) || c == '/' || isBlank(c)) {
        return std::nullopt;
    }
    if (c == '+' || c == '-') {
        return "has the sign " + quotedText(text.substr(i, 1));
    }
    if (c == ',') {
        return std::string("has a comma");
    }
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
        return "has the letter " + quotedText(text.substr(i, 1));
    }
    return "has the character " + quotedText(characterFrom(text, i));
}

// The whole number a run of digits spells, exactly.
mpz_class digitsValue(std::string_view digits) {
    return mpz_class(std::string(digits), 10);
}

// Reads `text` into `fractions`, or says what is wrong with it, without the quoted text before
// and the form after.
std::optional<std::string> readSchwarz(std::string_view text, ExactFractions& fractions) {
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        return std::string("is empty");
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::optional<std::string> fault = characterFault(text, i)) {
            return fault;
        }
    }
    std::vector<ExactFraction> read;
    for (const std::string_view word : notationWords(text)) {
        const std::size_t slash = word.find('/');
        if (slash != std::string_view::npos &&
            word.find('/', slash + 1) != std::string_view::npos) {
            return "has a second slash in " + quotedText(word);
        }
        const std::string_view divisor = word.substr(0, slash);
        const std::string_view multiplier =
            slash == std::string_view::npos ? std::string_view("1") : word.substr(slash + 1);
        if (divisor.empty() || multiplier.empty()) {
            return "has a slash without a number on each side in " + quotedText(word);
        }
        mpz_class n = digitsValue(divisor);
        mpz_class d = digitsValue(multiplier);
        if (std::isinf(nearestDouble(n)) || std::isinf(nearestDouble(d))) {
            return "has a number beyond the range of numbers in " + quotedText(word);
        }
        if (n == 0 || d == 0) {
            return "has a zero in " + quotedText(word);
        }
        read.push_back({std::move(n), std::move(d)});
    }
    if (read.size() != 3) {
        return "has " + std::to_string(read.size()) + (read.size() == 1 ? " number" : " numbers") +
               ", not 3";
    }
    fractions = {read[0], read[1], read[2]};
    return std::nullopt;
}

}  // namespace

TriangleNotation notationOf(std::string_view text) noexcept {
    return text.find(':') == std::string_view::npos ? TriangleNotation::schwarz
                                                    : TriangleNotation::code;
}

std::optional<std::string> schwarzNotationFault(std::string_view text) {
    ExactFractions fractions;
    if (std::optional<std::string> fault = readSchwarz(text, fractions)) {
        return "the triangle " + quotedText(text) + " " + *fault + " " + std::string(schwarzForm);
    }
    return std::nullopt;
}

std::optional<std::string> schwarzNumbersFault(std::string_view text) {
    ExactFractions fractions;
    return readSchwarz(text, fractions);
}

ExactFractions exactSchwarzFractions(std::string_view text) {
    ExactFractions fractions;
    if (readSchwarz(text, fractions)) {
        throw DrawError(FaultKind::invalidOperation, FaultStage::code, "reading the triangle",
                        *schwarzNotationFault(text));
    }
    return fractions;
}

TriangleFractions schwarzFractions(std::string_view text) {
    return nearestFractions(exactSchwarzFractions(text));
}

TriangleFractions triangleFractions(std::string_view text, TriangleNotation notation) {
    return notation == TriangleNotation::code ? codeFractions(text) : schwarzFractions(text);
}

ExactFractions exactFractions(std::string_view text, TriangleNotation notation) {
    return notation == TriangleNotation::code ? exactCodeFractions(text)
                                              : exactSchwarzFractions(text);
}

CodeAngles parseTriangle(std::string_view text, TriangleNotation notation, double pi) {
    if (notation == TriangleNotation::code) {
        return parseTriangleCode(text, pi);
    }
    const TriangleFractions fractions = schwarzFractions(text);
    CodeAngles angles{};
    for (std::size_t i = 0; i < 3; ++i) {
        angles[i] = (pi / fractions[i].divisor) * fractions[i].multiplier;
        if (const detail::Fault fault = detail::valueFault(angles[i])) {
            throw DrawError(fault.kind, FaultStage::code, "angle " + std::to_string(i + 1),
                            "angle " + std::to_string(i + 1) + " of the triangle " +
                                quotedText(text) +
                                " is beyond the range of numbers: " + fault.text);
        }
    }
    return angles;
}

std::optional<std::string> triangleDefect(std::string_view text, TriangleNotation notation) {
    (void)parseTriangle(text, notation, std::numbers::pi);
    return triangleDefect(exactFractions(text, notation));
}

std::optional<std::string> sphericalDefect(std::string_view text, TriangleNotation notation) {
    (void)parseTriangle(text, notation, std::numbers::pi);
    return sphericalDefect(exactFractions(text, notation));
}

std::optional<std::string> planeNotationHint(std::string_view code) {
    const ExactFractions fractions = exactFractions(code, TriangleNotation::code);
    if (triangleDefect(code, TriangleNotation::code)) {
        return std::nullopt;
    }
    const Geometry geometry = triangleGeometry(fractions);
    if (geometry == Geometry::spherical) {
        return std::nullopt;
    }
    return "in the usual notation, \"" + schwarzText(fractions) + "\" draws it in the " +
           std::string(geometryName(geometry)) + " plane";
}

void requireProperTriangle(std::string_view text, TriangleNotation notation) {
    // A code is solved on the sphere, so only a spherical triangle's code is proper.
    const bool code = notation == TriangleNotation::code;
    if (std::optional<std::string> defect =
            code ? sphericalDefect(text, notation) : triangleDefect(text, notation)) {
        if (const std::optional<std::string> hint = code ? planeNotationHint(text) : std::nullopt) {
            *defect += "; " + *hint;
        }
        throw DrawError(FaultKind::invalidOperation, FaultStage::triangle, "checking the triangle",
                        *defect);
    }
}

std::string schwarzText(const ExactFractions& fractions) {
    std::string text;
    for (const auto& [divisor, multiplier] : fractions) {
        if (!text.empty()) {
            text += ' ';
        }
        text += divisor.get_str();
        if (multiplier != 1) {
            text += "/" + multiplier.get_str();
        }
    }
    return text;
}

std::vector<std::string_view> notationWords(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !isBlank(text[end])) {
            ++end;
        }
        words.push_back(text.substr(i, end - i));
        i = end;
    }
    return words;
}

}  // namespace vantu
