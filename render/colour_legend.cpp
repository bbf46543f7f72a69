// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/colour_legend.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace vantu {

using colour_rule::Hue;

namespace {

// The cells by how many of a point's three dots are non-negative.
constexpr std::array<std::string_view, 4> cells = {
    "the antipode, drawn as across one", "across two mirrors", "across one mirror", "the triangle"};

// Every hue but grey has a nearest and a farthest vertex, two different ones.
static_assert(
    [] {
        for (const colour_rule::HueRule& rule : colour_rule::hueRules) {
            const HueVertices v = hueVertices(rule.hue);
            const bool named = v.nearest >= 0 && v.farthest >= 0 && v.nearest != v.farthest;
            if (named != (rule.hue != Hue::grey)) {
                return false;
            }
        }
        return true;
    }(),
    "each of the six hues names two vertices, grey none");

}  // namespace

std::string vertexName(int vertex) {
    return std::string(1, static_cast<char>('A' + vertex));
}

std::string_view cellWords(int nonNegative) noexcept {
    return cells[nonNegative >= 1 && nonNegative <= 3 ? static_cast<std::size_t>(nonNegative) : 0];
}

std::string_view sideCountWords(int sideCount, Geometry geometry) noexcept {
    // On the sphere the brightness of across one mirror is also that of the antipode.
    constexpr std::array<std::string_view, 4> brightness = {
        "", "across two mirrors", "across one mirror, or the antipode, drawn as across one",
        "the triangle"};
    if (sideCount == 2 && geometry != Geometry::spherical) {
        return cellWords(2);
    }
    return brightness[sideCount >= 1 && sideCount <= 3 ? static_cast<std::size_t>(sideCount) : 0];
}

std::string_view hueName(Hue hue, int sideCount) noexcept {
    constexpr std::array<std::string_view, colour_rule::hueCount> names = {
        "red", "yellow", "green", "cyan", "blue", "magenta", "grey"};
    return hue == Hue::grey && sideCount == 3 ? "white" : names[static_cast<std::size_t>(hue)];
}

std::string hueWords(Hue hue) {
    const HueVertices v = hueVertices(hue);
    if (v.nearest < 0 || v.farthest < 0) {
        return "D1 = D2 = D3, where the six hues meet";
    }
    const auto distance = [](int vertex) {
        return "D" + std::to_string(vertex + 1) + " (vertex " + vertexName(vertex) + ")";
    };
    return distance(v.nearest) + " smallest, " + distance(v.farthest) + " largest";
}

std::optional<ColourMeaning> colourMeaning(PackedColour colour, Geometry geometry) {
    const auto colours = pictureColours();
    if (std::find(colours.begin(), colours.end(), colour) == colours.end()) {
        return std::nullopt;
    }
    const colour_rule::Decoded d = colour_rule::decode(colour);
    const Hue hue = colour_rule::hueOf(d);
    return ColourMeaning{colour,
                         hue,
                         d.sideCount,
                         hueName(hue, d.sideCount),
                         sideCountWords(d.sideCount, geometry),
                         hueWords(hue)};
}

std::string meaningWords(const ColourMeaning& meaning) {
    return std::string(meaning.name) + ": " + std::string(meaning.cell) + "; " + meaning.order;
}

std::array<ColourMeaning, colourCount> legend(Geometry geometry) {
    std::array<ColourMeaning, colourCount> meanings{};
    std::size_t i = 0;
    for (const colour_rule::HueRule& rule : colour_rule::hueRules) {
        for (int k = 3; k >= 1; --k) {
            meanings[i++] = *colourMeaning(colour_rule::colourOf(rule.hue, k), geometry);
        }
    }
    return meanings;
}

std::string pointCellWords(double a1, double a2, double a3, Geometry geometry) {
    std::vector<std::string> across;
    const double dots[3] = {a1, a2, a3};
    for (int i = 0; i < 3; ++i) {
        if (!(dots[i] >= 0.0)) {
            across.push_back(std::to_string(i + 1));
        }
    }
    switch (across.size()) {
        case 0:
            return std::string(cellWords(3));
        case 1:
            return "across mirror " + across[0];
        case 2:
            return "across mirrors " + across[0] + " and " + across[1];
        default:
            return geometry == Geometry::spherical ? "the triangle's antipode"
                                                   : "across mirrors 1, 2 and 3";
    }
}

std::string pointHueWords(PackedColour colour) {
    const HueVertices v = hueVertices(colour);
    if (v.nearest < 0 || v.farthest < 0) {
        return "all three vertices alike";
    }
    return "nearest vertex " + vertexName(v.nearest) + ", farthest " + vertexName(v.farthest);
}

}  // namespace vantu
