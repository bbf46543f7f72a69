// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "render/colour_meaning.h"

#include <vector>

namespace vantu {

std::string cellWords(double a1, double a2, double a3) {
    std::vector<std::string> across;
    const double dots[3] = {a1, a2, a3};
    for (int i = 0; i < 3; ++i) {
        if (!(dots[i] >= 0.0)) {
            across.push_back(std::to_string(i + 1));
        }
    }
    switch (across.size()) {
        case 0:
            return "the triangle";
        case 1:
            return "across mirror " + across[0];
        case 2:
            return "across mirrors " + across[0] + " and " + across[1];
        default:
            return "the triangle's antipode";
    }
}

std::string hueWords(PackedColour colour) {
    const HueVertices vertices = hueVertices(colour_rule::decode(colour));
    if (vertices.nearest < 0 || vertices.farthest < 0) {
        return "all three vertices alike";
    }
    const auto name = [](int vertex) { return std::string(1, static_cast<char>('A' + vertex)); };
    return "nearest vertex " + name(vertices.nearest) + ", farthest " + name(vertices.farthest);
}

}  // namespace vantu
