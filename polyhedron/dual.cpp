// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "polyhedron/dual.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "geometry/draw_error.h"

namespace vantu {
namespace {

[[noreturn]] void refuse(const std::string& message) {
    throw DrawError(FaultKind::invalidOperation, FaultStage::triangle, "dual", message);
}

// The faces around vertex `v` in order, each the next one across a side through v.
std::vector<int> facesAround(const Polyhedron& p, int v) {
    struct Corner {
        int before;
        int after;
        int face;
    };
    std::vector<Corner> corners;
    for (std::size_t f = 0; f < p.faces.size(); ++f) {
        const std::vector<int>& vs = p.faces[f].vertices;
        for (std::size_t k = 0; k < vs.size(); ++k) {
            if (vs[k] == v) {
                corners.push_back({vs[(k + vs.size() - 1) % vs.size()], vs[(k + 1) % vs.size()],
                                   static_cast<int>(f)});
            }
        }
    }
    std::vector<int> ring;
    std::vector<bool> used(corners.size());
    std::size_t at = 0;
    int next = corners.empty() ? -1 : corners[0].after;
    while (at < corners.size() && !used[at]) {
        used[at] = true;
        ring.push_back(corners[at].face);
        std::size_t found = corners.size();
        for (std::size_t c = 0; c < corners.size(); ++c) {
            if (!used[c] && (corners[c].before == next || corners[c].after == next)) {
                found = c;
                break;
            }
        }
        if (found < corners.size()) {
            next = corners[found].before == next ? corners[found].after : corners[found].before;
        }
        at = found;
    }
    if (corners.size() < 3 || ring.size() != corners.size()) {
        refuse("the faces round vertex " + std::to_string(v + 1) +
               " of the polyhedron do not close into one ring: it has no dual");
    }
    return ring;
}

// How often the closed polygon `points` winds round `axis` (>= 0).
int turnsAround(const std::vector<Vec3>& points, const Vec3& axis) {
    if (points.empty()) {
        return 0;
    }
    double total = 0.0;
    const Vec3 centre = (dot(points.front(), axis) / dot(axis, axis)) * axis;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vec3 a = points[i] - centre;
        const Vec3 b = points[(i + 1) % points.size()] - centre;
        total += std::atan2(dot(unit(axis), cross(a, b)), dot(a, b));
    }
    return static_cast<int>(std::lround(std::abs(total) / (2.0 * std::numbers::pi)));
}

}  // namespace

Polyhedron dualPolyhedron(const Polyhedron& p) {
    double midradius = 0.0;
    for (const auto& [a, b] : p.edges) {
        midradius += length(0.5 * (p.vertices[static_cast<std::size_t>(a)] +
                                   p.vertices[static_cast<std::size_t>(b)]));
    }
    midradius /= static_cast<double>(p.edges.size());
    Polyhedron dual;
    dual.vertices.reserve(p.faces.size());
    for (const Face& face : p.faces) {
        Vec3 normal{};
        for (std::size_t k = 0; k < face.vertices.size(); ++k) {
            normal = normal + cross(p.vertices[static_cast<std::size_t>(face.vertices[k])],
                                    p.vertices[static_cast<std::size_t>(
                                        face.vertices[(k + 1) % face.vertices.size()])]);
        }
        const Vec3 n = unit(normal);
        const double height = dot(n, p.vertices[static_cast<std::size_t>(face.vertices[0])]);
        if (!(std::abs(height) > 1e-9)) {
            refuse("the polyhedron has a face through its centre: it has no finite dual");
        }
        dual.vertices.push_back((midradius * midradius / height) * n);
    }
    std::map<std::array<int, 2>, int> types;
    for (std::size_t v = 0; v < p.vertices.size(); ++v) {
        Face face{facesAround(p, static_cast<int>(v)), 0};
        std::vector<Vec3> points;
        for (const int f : face.vertices) {
            points.push_back(dual.vertices[static_cast<std::size_t>(f)]);
        }
        const int sides = static_cast<int>(points.size());
        const int turns = turnsAround(points, p.vertices[v]);
        const auto [at, added] = types.emplace(std::array<int, 2>{sides, turns},
                                               static_cast<int>(dual.faceTypes.size()));
        if (added) {
            dual.faceTypes.push_back({sides, turns, 0});
        }
        face.type = at->second;
        dual.faces.push_back(std::move(face));
    }
    // The two faces of each edge.
    std::map<std::array<int, 2>, std::vector<int>> sides;
    for (std::size_t f = 0; f < p.faces.size(); ++f) {
        const std::vector<int>& vs = p.faces[f].vertices;
        for (std::size_t k = 0; k < vs.size(); ++k) {
            const int a = vs[k];
            const int b = vs[(k + 1) % vs.size()];
            sides[{std::min(a, b), std::max(a, b)}].push_back(static_cast<int>(f));
        }
    }
    for (const auto& edge : p.edges) {
        const std::vector<int>& faces = sides[edge];
        if (faces.size() == 2) {
            dual.edges.push_back({std::min(faces[0], faces[1]), std::max(faces[0], faces[1])});
        }
    }
    std::sort(dual.edges.begin(), dual.edges.end());
    return dual;
}

}  // namespace vantu
