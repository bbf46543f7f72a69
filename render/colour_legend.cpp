// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/colour_legend.h"

#include <algorithm>
#include <cstddef>

namespace vantu {

using colour_rule::Hue;

std::string_view cellWords(int nonNegative) noexcept {
    constexpr std::array<std::string_view, 4> cells = {"the antipode, drawn as across one",
                                                       "across two mirrors", "across one mirror",
                                                       "the triangle"};
    return cells[nonNegative >= 1 && nonNegative <= 3 ? static_cast<std::size_t>(nonNegative) : 0];
}

std::string_view sideCountWords(int sideCount) noexcept {
    // The brightness of across one mirror is also that of the antipode.
    constexpr std::array<std::string_view, 4> brightness = {
        "", "across two mirrors", "across one mirror, or the antipode, drawn as across one",
        "the triangle"};
    return brightness[sideCount >= 1 && sideCount <= 3 ? static_cast<std::size_t>(sideCount) : 0];
}

std::string_view hueName(Hue hue, int sideCount) noexcept {
    constexpr std::array<std::string_view, colour_rule::hueCount> names = {
        "red", "yellow", "green", "cyan", "blue", "magenta", "grey"};
    return hue == Hue::grey && sideCount == 3 ? "white" : names[static_cast<std::size_t>(hue)];
}

std::string_view hueWords(Hue hue) noexcept {
    // The smallest distance chooses the pair of hues and the largest the member of the pair.
    constexpr std::array<std::string_view, colour_rule::hueCount> words = {
        "D1 (vertex A) smallest, D2 (vertex B) largest",
        "D1 (vertex A) smallest, D3 (vertex C) largest",
        "D2 (vertex B) smallest, D3 (vertex C) largest",
        "D2 (vertex B) smallest, D1 (vertex A) largest",
        "D3 (vertex C) smallest, D1 (vertex A) largest",
        "D3 (vertex C) smallest, D2 (vertex B) largest",
        "D1 = D2 = D3, where the six hues meet",
    };
    return words[static_cast<std::size_t>(hue)];
}

std::optional<ColourMeaning> colourMeaning(PackedColour colour) noexcept {
    const auto colours = pictureColours();
    if (std::find(colours.begin(), colours.end(), colour) == colours.end()) {
        return std::nullopt;
    }
    const colour_rule::Decoded d = colour_rule::decode(colour);
    const Hue hue = colour_rule::hueOf(d);
    return ColourMeaning{
        colour,       hue, d.sideCount, hueName(hue, d.sideCount), sideCountWords(d.sideCount),
        hueWords(hue)};
}

std::array<ColourMeaning, colourCount> legend() noexcept {
    std::array<ColourMeaning, colourCount> meanings{};
    std::size_t i = 0;
    for (const colour_rule::HueRule& rule : colour_rule::hueRules) {
        for (int k = 3; k >= 1; --k) {
            meanings[i++] = *colourMeaning(colour_rule::colourOf(rule.hue, k));
        }
    }
    return meanings;
}

}  // namespace vantu
