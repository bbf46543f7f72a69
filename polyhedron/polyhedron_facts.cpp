// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "polyhedron/polyhedron_facts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <string_view>

namespace vantu {
namespace {

// The uniform polyhedra of the published list (U1-U75, the great dirhombicosidodecahedron, U75,
// which no Wythoff symbol gives, included), with their Wythoff symbols, told apart by their
// faces, vertices and density (0 for none: one-sided, or with faces through the centre).
struct Listed {
    int number;
    std::string_view name;
    std::string_view symbol;  // empty for U75
    std::string_view faces;
    int vertices;
    int density;
};

constexpr std::array<Listed, 75> uniformList{{
    {1, "tetrahedron", "3 | 2 3", "4 {3}", 4, 1},
    {2, "truncated tetrahedron", "2 3 | 3", "4 {3}, 4 {6}", 12, 1},
    {3, "octahemioctahedron", "3/2 3 | 3", "8 {3}, 4 {6}", 12, 0},
    {4, "tetrahemihexahedron", "3/2 3 | 2", "4 {3}, 3 {4}", 6, 0},
    {5, "octahedron", "4 | 2 3", "8 {3}", 6, 1},
    {6, "cube", "3 | 2 4", "6 {4}", 8, 1},
    {7, "cuboctahedron", "2 | 3 4", "8 {3}, 6 {4}", 12, 1},
    {8, "truncated octahedron", "2 4 | 3", "6 {4}, 8 {6}", 24, 1},
    {9, "truncated cube", "2 3 | 4", "8 {3}, 6 {8}", 24, 1},
    {10, "rhombicuboctahedron", "3 4 | 2", "8 {3}, 18 {4}", 24, 1},
    {11, "truncated cuboctahedron", "2 3 4 |", "12 {4}, 8 {6}, 6 {8}", 48, 1},
    {12, "snub cube", "| 2 3 4", "32 {3}, 6 {4}", 24, 1},
    {13, "small cubicuboctahedron", "3/2 4 | 4", "8 {3}, 6 {4}, 6 {8}", 24, 2},
    {14, "great cubicuboctahedron", "3 4 | 4/3", "8 {3}, 6 {4}, 6 {8/3}", 24, 4},
    {15, "cubohemioctahedron", "4/3 4 | 3", "6 {4}, 4 {6}", 12, 0},
    {16, "cubitruncated cuboctahedron", "4/3 3 4 |", "8 {6}, 6 {8}, 6 {8/3}", 48, 4},
    {17, "great rhombicuboctahedron", "3/2 4 | 2", "8 {3}, 18 {4}", 24, 5},
    {18, "small rhombihexahedron", "3/2 2 4 |", "12 {4}, 6 {8}", 24, 0},
    {19, "stellated truncated hexahedron", "2 3 | 4/3", "8 {3}, 6 {8/3}", 24, 7},
    {20, "great truncated cuboctahedron", "4/3 2 3 |", "12 {4}, 8 {6}, 6 {8/3}", 48, 1},
    {21, "great rhombihexahedron", "4/3 3/2 2 |", "12 {4}, 6 {8/3}", 24, 0},
    {22, "icosahedron", "5 | 2 3", "20 {3}", 12, 1},
    {23, "dodecahedron", "3 | 2 5", "12 {5}", 20, 1},
    {24, "icosidodecahedron", "2 | 3 5", "20 {3}, 12 {5}", 30, 1},
    {25, "truncated icosahedron", "2 5 | 3", "12 {5}, 20 {6}", 60, 1},
    {26, "truncated dodecahedron", "2 3 | 5", "20 {3}, 12 {10}", 60, 1},
    {27, "rhombicosidodecahedron", "3 5 | 2", "20 {3}, 30 {4}, 12 {5}", 60, 1},
    {28, "truncated icosidodecahedron", "2 3 5 |", "30 {4}, 20 {6}, 12 {10}", 120, 1},
    {29, "snub dodecahedron", "| 2 3 5", "80 {3}, 12 {5}", 60, 1},
    {30, "small ditrigonal icosidodecahedron", "3 | 5/2 3", "20 {3}, 12 {5/2}", 20, 2},
    {31, "small icosicosidodecahedron", "5/2 3 | 3", "20 {3}, 12 {5/2}, 20 {6}", 60, 2},
    {32, "small snub icosicosidodecahedron", "| 5/2 3 3", "100 {3}, 12 {5/2}", 60, 2},
    {33, "small dodecicosidodecahedron", "3/2 5 | 5", "20 {3}, 12 {5}, 12 {10}", 60, 2},
    {34, "small stellated dodecahedron", "5 | 2 5/2", "12 {5/2}", 12, 3},
    {35, "great dodecahedron", "5/2 | 2 5", "12 {5}", 12, 3},
    {36, "dodecadodecahedron", "2 | 5/2 5", "12 {5}, 12 {5/2}", 30, 3},
    {37, "truncated great dodecahedron", "2 5/2 | 5", "12 {5/2}, 12 {10}", 60, 3},
    {38, "rhombidodecadodecahedron", "5/2 5 | 2", "30 {4}, 12 {5}, 12 {5/2}", 60, 3},
    {39, "small rhombidodecahedron", "2 5/2 5 |", "30 {4}, 12 {10}", 60, 0},
    {40, "snub dodecadodecahedron", "| 2 5/2 5", "60 {3}, 12 {5}, 12 {5/2}", 60, 3},
    {41, "ditrigonal dodecadodecahedron", "3 | 5/3 5", "12 {5}, 12 {5/2}", 20, 4},
    {42, "great ditrigonal dodecicosidodecahedron", "3 5 | 5/3", "20 {3}, 12 {5}, 12 {10/3}", 60,
     4},
    {43, "small ditrigonal dodecicosidodecahedron", "5/3 3 | 5", "20 {3}, 12 {5/2}, 12 {10}", 60,
     4},
    {44, "icosidodecadodecahedron", "5/3 5 | 3", "12 {5}, 12 {5/2}, 20 {6}", 60, 4},
    {45, "icositruncated dodecadodecahedron", "5/3 3 5 |", "20 {6}, 12 {10}, 12 {10/3}", 120, 4},
    {46, "snub icosidodecadodecahedron", "| 5/3 3 5", "80 {3}, 12 {5}, 12 {5/2}", 60, 4},
    {47, "great ditrigonal icosidodecahedron", "3/2 | 3 5", "20 {3}, 12 {5}", 20, 6},
    {48, "great icosicosidodecahedron", "3/2 5 | 3", "20 {3}, 12 {5}, 20 {6}", 60, 6},
    {49, "small icosihemidodecahedron", "3/2 3 | 5", "20 {3}, 6 {10}", 30, 0},
    {50, "small dodecicosahedron", "3/2 3 5 |", "20 {6}, 12 {10}", 60, 0},
    {51, "small dodecahemidodecahedron", "5/4 5 | 5", "12 {5}, 6 {10}", 30, 0},
    {52, "great stellated dodecahedron", "3 | 2 5/2", "12 {5/2}", 20, 7},
    {53, "great icosahedron", "5/2 | 2 3", "20 {3}", 12, 7},
    {54, "great icosidodecahedron", "2 | 5/2 3", "20 {3}, 12 {5/2}", 30, 7},
    {55, "great truncated icosahedron", "2 5/2 | 3", "12 {5/2}, 20 {6}", 60, 7},
    {56, "rhombicosahedron", "2 5/2 3 |", "30 {4}, 20 {6}", 60, 0},
    {57, "great snub icosidodecahedron", "| 2 5/2 3", "80 {3}, 12 {5/2}", 60, 7},
    {58, "small stellated truncated dodecahedron", "2 5 | 5/3", "12 {5}, 12 {10/3}", 60, 9},
    {59, "truncated dodecadodecahedron", "5/3 2 5 |", "30 {4}, 12 {10}, 12 {10/3}", 120, 3},
    {60, "inverted snub dodecadodecahedron", "| 5/3 2 5", "60 {3}, 12 {5}, 12 {5/2}", 60, 9},
    {61, "great dodecicosidodecahedron", "5/2 3 | 5/3", "20 {3}, 12 {5/2}, 12 {10/3}", 60, 10},
    {62, "small dodecahemicosahedron", "5/3 5/2 | 3", "12 {5/2}, 10 {6}", 30, 0},
    {63, "great dodecicosahedron", "5/3 5/2 3 |", "20 {6}, 12 {10/3}", 60, 0},
    {64, "great snub dodecicosidodecahedron", "| 5/3 5/2 3", "80 {3}, 24 {5/2}", 60, 10},
    {65, "great dodecahemicosahedron", "5/4 5 | 3", "12 {5}, 10 {6}", 30, 0},
    {66, "great stellated truncated dodecahedron", "2 3 | 5/3", "20 {3}, 12 {10/3}", 60, 13},
    {67, "great rhombicosidodecahedron", "5/3 3 | 2", "20 {3}, 30 {4}, 12 {5/2}", 60, 13},
    {68, "great truncated icosidodecahedron", "5/3 2 3 |", "30 {4}, 20 {6}, 12 {10/3}", 120, 13},
    {69, "great inverted snub icosidodecahedron", "| 5/3 2 3", "80 {3}, 12 {5/2}", 60, 13},
    {70, "great dodecahemidodecahedron", "5/3 5/2 | 5/3", "12 {5/2}, 6 {10/3}", 30, 0},
    {71, "great icosihemidodecahedron", "3/2 3 | 5/3", "20 {3}, 6 {10/3}", 30, 0},
    {72, "small retrosnub icosicosidodecahedron", "| 3/2 3/2 5/2", "100 {3}, 12 {5/2}", 60, 38},
    {73, "great rhombidodecahedron", "3/2 5/3 2 |", "30 {4}, 12 {10/3}", 60, 0},
    {74, "great retrosnub icosidodecahedron", "| 3/2 5/3 2", "80 {3}, 12 {5/2}", 60, 37},
    {75, "great dirhombicosidodecahedron", "", "40 {3}, 60 {4}, 24 {5/2}", 60, 0},
}};

// The prisms and antiprisms of the list, which dihedralName names.
constexpr std::array<ListedSymbol, 5> listedDihedral{{
    {76, "2 5 | 2"},
    {77, "| 2 2 5"},
    {78, "2 5/2 | 2"},
    {79, "| 2 2 5/2"},
    {80, "| 2 2 5/3"},
}};

// Every symbol of the list, by number.
constexpr auto listedSymbols = [] {
    std::array<ListedSymbol, uniformList.size() - 1 + listedDihedral.size()> all{};
    std::size_t k = 0;
    for (const Listed& listed : uniformList) {
        if (!listed.symbol.empty()) {
            all.at(k++) = {listed.number, listed.symbol};
        }
    }
    for (const ListedSymbol& listed : listedDihedral) {
        all.at(k++) = listed;
    }
    return all;
}();

// The word for an n-gon's prism or antiprism, or nothing.
std::string polygonWord(int sides, int turns) {
    static const std::map<std::array<int, 2>, std::string_view> words{
        {{3, 1}, "triangular"},   {{4, 1}, "square"},      {{5, 1}, "pentagonal"},
        {{6, 1}, "hexagonal"},    {{7, 1}, "heptagonal"},  {{8, 1}, "octagonal"},
        {{9, 1}, "enneagonal"},   {{10, 1}, "decagonal"},  {{12, 1}, "dodecagonal"},
        {{5, 2}, "pentagrammic"}, {{8, 3}, "octagrammic"}, {{10, 3}, "decagrammic"},
    };
    const auto found = words.find({sides, turns});
    if (found != words.end()) {
        return std::string(found->second);
    }
    return "{" + polygonText(sides, turns) + "}";
}

// The prism or antiprism with these faces, or nothing.
std::optional<UniformName> dihedralName(const std::vector<FaceCount>& counts, int vertices,
                                        std::optional<int> density) {
    if (counts.size() != 2 || !density) {
        return std::nullopt;
    }
    // The n-gons come after the squares or triangles, but a {3}'s prism has them first.
    for (std::size_t k = 0; k < 2; ++k) {
        const FaceCount& cap = counts[k];
        const FaceCount& band = counts[1 - k];
        const int n = cap.sides;
        if (cap.count != 2 || vertices != 2 * n || band.turns != 1) {
            continue;
        }
        const std::string word = polygonWord(n, cap.turns);
        const int number = n == 5 ? (cap.turns == 1 ? 76 : 78) : 0;
        if (band.sides == 4 && band.count == n) {
            return UniformName{number, word + " prism"};
        }
        if (band.sides == 3 && band.count == 2 * n) {
            const bool crossed = 2 * *density > n;
            const int antiprism = n == 5 ? (cap.turns == 1 ? 77 : (crossed ? 80 : 79)) : 0;
            return UniformName{antiprism, word + (crossed ? " crossed antiprism" : " antiprism")};
        }
    }
    return std::nullopt;
}

// Whether every side of a face is the side of exactly one other face.
bool isClosed(const Polyhedron& p) {
    std::map<std::array<int, 2>, int> faces;
    for (const Face& f : p.faces) {
        for (std::size_t k = 0; k < f.vertices.size(); ++k) {
            const int a = f.vertices[k];
            const int b = f.vertices[(k + 1) % f.vertices.size()];
            ++faces[{std::min(a, b), std::max(a, b)}];
        }
    }
    return std::all_of(faces.begin(), faces.end(), [](const auto& e) { return e.second == 2; });
}

// The faces of `p` oriented so that each edge is run once each way, or nothing.
std::optional<std::vector<bool>> orientation(const Polyhedron& p) {
    // For each edge, the faces that run it and which way (a to b with a < b: true).
    std::map<std::array<int, 2>, std::vector<std::pair<std::size_t, bool>>> runs;
    for (std::size_t f = 0; f < p.faces.size(); ++f) {
        const std::vector<int>& v = p.faces[f].vertices;
        for (std::size_t k = 0; k < v.size(); ++k) {
            const int a = v[k];
            const int b = v[(k + 1) % v.size()];
            runs[{std::min(a, b), std::max(a, b)}].push_back({f, a < b});
        }
    }
    for (const auto& [edge, faces] : runs) {
        if (faces.size() != 2) {
            return std::nullopt;
        }
    }
    std::vector<int> flipped(p.faces.size(), -1);
    std::vector<std::size_t> stack;
    for (std::size_t start = 0; start < p.faces.size(); ++start) {
        if (flipped[start] >= 0) {
            continue;
        }
        flipped[start] = 0;
        stack.push_back(start);
        while (!stack.empty()) {
            const std::size_t f = stack.back();
            stack.pop_back();
            const std::vector<int>& v = p.faces[f].vertices;
            for (std::size_t k = 0; k < v.size(); ++k) {
                const int a = v[k];
                const int b = v[(k + 1) % v.size()];
                for (const auto& [g, forward] : runs[{std::min(a, b), std::max(a, b)}]) {
                    if (g == f) {
                        continue;
                    }
                    // Run the other way round from f's run of a to b.
                    const bool fForward = (a < b) != (flipped[f] == 1);
                    const int want = (forward == fForward) ? 1 : 0;
                    if (flipped[g] < 0) {
                        flipped[g] = want;
                        stack.push_back(g);
                    } else if (flipped[g] != want) {
                        return std::nullopt;
                    }
                }
            }
        }
    }
    std::vector<bool> result(p.faces.size());
    for (std::size_t f = 0; f < p.faces.size(); ++f) {
        result[f] = flipped[f] == 1;
    }
    return result;
}

// The sum of the faces' vectors a x b over their sides (Newell's normal).
Vec3 faceNormal(const Polyhedron& p, const Face& face) {
    Vec3 n{};
    for (std::size_t k = 0; k < face.vertices.size(); ++k) {
        n = n + cross(p.vertices[static_cast<std::size_t>(face.vertices[k])],
                      p.vertices[static_cast<std::size_t>(
                          face.vertices[(k + 1) % face.vertices.size()])]);
    }
    return n;
}

// Whether the plane of `face` passes through the centre.
bool throughCentre(const Polyhedron& p, const Face& face) {
    const Vec3 n = faceNormal(p, face);
    const double size = length(n);
    return size == 0.0 ||
           std::abs(dot(n, p.vertices[static_cast<std::size_t>(face.vertices[0])])) <= 1e-9 * size;
}

// How often the faces, oriented by `flipped`, wind around the ray from the centre along `ray`.
double windingAround(const Polyhedron& p, const std::vector<bool>& flipped, const Vec3& ray) {
    double total = 0.0;
    for (std::size_t f = 0; f < p.faces.size(); ++f) {
        const Face& face = p.faces[f];
        const Vec3 n = faceNormal(p, face);
        const double height = dot(n, p.vertices[static_cast<std::size_t>(face.vertices[0])]);
        const double along = dot(n, ray);
        if (along == 0.0 || height / along <= 0.0) {
            continue;  // the ray never meets the face's plane
        }
        const Vec3 hit = (height / along) * ray;
        // The angles in the face's plane, counted round the ray's way.
        const Vec3 axis = (along > 0.0 ? 1.0 : -1.0) * unit(n);
        double angle = 0.0;
        for (std::size_t k = 0; k < face.vertices.size(); ++k) {
            const Vec3 a = p.vertices[static_cast<std::size_t>(face.vertices[k])] - hit;
            const Vec3 b = p.vertices[static_cast<std::size_t>(
                               face.vertices[(k + 1) % face.vertices.size()])] -
                           hit;
            angle += std::atan2(dot(axis, cross(a, b)), dot(a, b));
        }
        total += flipped[f] ? -angle : angle;
    }
    return total / (2.0 * std::numbers::pi);
}

// The polygons around vertex `v` in order, following the faces across the edges they share;
// nothing when they do not close into one ring through every face at v.
std::optional<std::vector<std::array<int, 2>>> ringAround(const Polyhedron& p, int v) {
    struct Corner {
        int before;
        int after;
        std::size_t face;
    };
    std::vector<Corner> corners;
    for (std::size_t f = 0; f < p.faces.size(); ++f) {
        const std::vector<int>& vs = p.faces[f].vertices;
        for (std::size_t k = 0; k < vs.size(); ++k) {
            if (vs[k] == v) {
                corners.push_back(
                    {vs[(k + vs.size() - 1) % vs.size()], vs[(k + 1) % vs.size()], f});
            }
        }
    }
    if (corners.empty()) {
        return std::nullopt;
    }
    std::vector<bool> used(corners.size());
    std::vector<std::array<int, 2>> ring;
    std::size_t at = 0;
    int next = corners[0].after;
    for (std::size_t step = 0; step < corners.size(); ++step) {
        used[at] = true;
        const FaceType& t = p.faceTypes[static_cast<std::size_t>(p.faces[corners[at].face].type)];
        ring.push_back({t.sides, t.turns});
        std::size_t found = corners.size();
        for (std::size_t c = 0; c < corners.size(); ++c) {
            if (!used[c] && (corners[c].before == next || corners[c].after == next)) {
                found = c;
                break;
            }
        }
        if (found == corners.size()) {
            break;
        }
        next = corners[found].before == next ? corners[found].after : corners[found].before;
        at = found;
    }
    if (ring.size() != corners.size()) {
        return std::nullopt;
    }
    return ring;
}

// The ring written from the turn and direction that give the smallest sequence.
std::string configurationText(std::vector<std::array<int, 2>> ring) {
    std::vector<std::array<int, 2>> best = ring;
    for (int direction = 0; direction < 2; ++direction) {
        for (std::size_t k = 0; k < ring.size(); ++k) {
            std::rotate(ring.begin(), ring.begin() + 1, ring.end());
            best = std::min(best, ring);
        }
        std::reverse(ring.begin(), ring.end());
    }
    std::string text;
    for (const auto& [sides, turns] : best) {
        text += (text.empty() ? "" : ".") + polygonText(sides, turns);
    }
    return text;
}

std::string numberText(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

}  // namespace

std::span<const ListedSymbol> uniformSymbols() noexcept {
    return listedSymbols;
}

std::string polygonText(int sides, int turns) {
    return std::to_string(sides) + (turns == 1 ? "" : "/" + std::to_string(turns));
}

std::string faceCountText(const std::vector<FaceCount>& counts) {
    std::string text;
    for (const FaceCount& c : counts) {
        text += (text.empty() ? "" : ", ") + std::to_string(c.count) + " {" +
                polygonText(c.sides, c.turns) + "}";
    }
    return text;
}

std::optional<UniformName> uniformName(const std::vector<FaceCount>& counts, int vertices,
                                       std::optional<int> density) {
    const std::string faces = faceCountText(counts);
    for (const Listed& listed : uniformList) {
        if (listed.faces == faces && listed.vertices == vertices &&
            listed.density == density.value_or(0)) {
            return UniformName{listed.number, std::string(listed.name)};
        }
    }
    return dihedralName(counts, vertices, density);
}

PolyhedronFacts polyhedronFacts(const Polyhedron& p) {
    PolyhedronFacts facts;
    facts.vertices = static_cast<int>(p.vertices.size());
    facts.edges = static_cast<int>(p.edges.size());
    facts.faces = static_cast<int>(p.faces.size());
    facts.euler = facts.vertices - facts.edges + facts.faces;
    if (facts.vertices < 4) {
        facts.degenerate = "its vertices coincide";
        return facts;
    }
    if (p.faces.empty()) {
        facts.degenerate = "its faces collapse into edges";
        return facts;
    }
    std::map<std::array<int, 2>, int> byPolygon;
    for (const Face& f : p.faces) {
        const FaceType& t = p.faceTypes[static_cast<std::size_t>(f.type)];
        ++byPolygon[{t.sides, t.turns}];
    }
    for (const auto& [polygon, count] : byPolygon) {
        facts.faceCounts.push_back({count, polygon[0], polygon[1]});
    }
    if (const auto ring = ringAround(p, 0)) {
        facts.vertexConfiguration = configurationText(*ring);
    }
    facts.closed = isClosed(p);
    const std::optional<std::vector<bool>> flipped =
        facts.closed ? orientation(p) : std::optional<std::vector<bool>>();
    facts.orientable = flipped.has_value();
    const bool hemi = std::any_of(p.faces.begin(), p.faces.end(),
                                  [&](const Face& f) { return throughCentre(p, f); });
    if (flipped && !hemi) {
        // A direction in no face's plane, for all the polyhedra of these groups.
        const Vec3 ray = unit(Vec3{0.2718281828459045, 0.5772156649015329, 0.7071067811865476});
        facts.density = static_cast<int>(std::lround(std::abs(windingAround(p, *flipped, ray))));
    }
    for (const auto& [a, b] : p.edges) {
        facts.edgeLengths.push_back(length(p.vertices[static_cast<std::size_t>(a)] -
                                           p.vertices[static_cast<std::size_t>(b)]));
    }
    std::sort(facts.edgeLengths.begin(), facts.edgeLengths.end());
    std::vector<double> distinct;
    for (const double l : facts.edgeLengths) {
        if (distinct.empty() || l - distinct.back() > sameEdgeLength) {
            distinct.push_back(l);
        }
    }
    facts.edgeLengths = distinct;
    facts.uniform = distinct.size() == 1;
    facts.circumradius = 1.0 / distinct.front();
    if (facts.uniform) {
        facts.name = uniformName(facts.faceCounts, facts.vertices, facts.density);
    }
    return facts;
}

std::string polyhedronFactLines(const PolyhedronFacts& facts) {
    if (facts.degenerate) {
        return "polyhedron: none; " + *facts.degenerate + "\n";
    }
    std::string lines = "polyhedron: ";
    if (facts.name) {
        lines += (facts.name->number > 0 ? "U" + std::to_string(facts.name->number) + " " : "") +
                 facts.name->name;
    } else {
        lines += facts.uniform ? "uniform" : "not uniform";
    }
    lines += "\n";
    lines += "vertices: " + std::to_string(facts.vertices) + "\n";
    lines += "edges: " + std::to_string(facts.edges) + "\n";
    lines += "faces: " + std::to_string(facts.faces) + "\n";
    lines += "faces by type: " + faceCountText(facts.faceCounts) + "\n";
    if (!facts.vertexConfiguration.empty()) {
        lines += "vertex configuration: " + facts.vertexConfiguration + "\n";
    }
    lines += "Euler characteristic: " + std::to_string(facts.euler) + "\n";
    std::string density = "none (one-sided)";
    if (facts.density) {
        density = std::to_string(*facts.density);
    } else if (!facts.closed) {
        density = "none (an edge not between two faces)";
    } else if (facts.orientable) {
        density = "none (a face through the centre)";
    }
    lines += "density: " + density + "\n";
    lines += "circumradius: " + numberText(facts.circumradius) + " for unit edge\n";
    if (!facts.uniform) {
        std::string lengths;
        for (const double l : facts.edgeLengths) {
            lengths += (lengths.empty() ? "" : ", ") + numberText(l);
        }
        lines += "edge lengths: " + lengths + " (circumradius 1)\n";
    }
    return lines;
}

}  // namespace vantu
