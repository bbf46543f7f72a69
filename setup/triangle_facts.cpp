// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/triangle_facts.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>
#include <string_view>
#include <utility>

#include "geometry/text.h"
#include "setup/triangle_notation.h"

namespace vantu {
namespace {

// The greatest common divisor of two whole numbers held in doubles, exactly.
double greatestCommonDivisor(double a, double b) noexcept {
    while (b != 0.0) {
        a = std::fmod(a, b);
        std::swap(a, b);
    }
    return a;
}

std::string wholeText(double whole) {
    char text[400];
    std::snprintf(text, sizeof text, "%.0f", whole);
    return text;
}

// The angle of `f` as a multiple of pi in lowest terms: "π/2", "2π/3", "π".
std::string piText(const AngleFraction& f) {
    const double g = greatestCommonDivisor(f.multiplier, f.divisor);
    const double d = f.multiplier / g;
    const double n = f.divisor / g;
    return (d == 1.0 ? std::string() : wholeText(d)) + "\u03c0" +
           (n == 1.0 ? std::string() : "/" + wholeText(n));
}

std::string degreesText(double radians) {
    return formatDegrees(radians) + "\u00b0";
}

// A double to six significant digits.
std::string shortText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

// The arc between two unit vectors, in radians.
double arc(const Vec3& u, const Vec3& v) noexcept {
    return std::atan2(length(cross(u, v)), dot(u, v));
}

// The density as a whole number, when it is one to rounding.
std::optional<double> wholeDensity(double density) noexcept {
    const double whole = std::round(density);
    return std::abs(density - whole) <= 1e-6 ? std::optional(whole) : std::nullopt;
}

}  // namespace

std::array<Vec3, 3> triangleVertices(const Mirrors& normals) noexcept {
    std::array<Vec3, 3> vertices{};
    for (std::size_t i = 0; i < 3; ++i) {
        const Vec3 v = unit(cross(normals[(i + 1) % 3], normals[(i + 2) % 3]));
        vertices[i] = dot(v, normals[i]) < 0.0 ? -v : v;
    }
    return vertices;
}

TriangleFacts triangleFacts(const DrawRequest& request) {
    (void)triangleFractions(request.triangleCode, request.notation);
    requireProperTriangle(request.triangleCode, request.notation);
    return triangleFacts(request, prepareDrawing(request));
}

TriangleFacts triangleFacts(const DrawRequest& request, const DrawSetup& setup) {
    const TriangleFractions code = triangleFractions(request.triangleCode, request.notation);
    requireProperTriangle(request.triangleCode, request.notation);
    TriangleFacts facts;
    facts.fractions = permuted(code, request.rotation, request.reverse);
    facts.angles = vertexAngles(request, setup.pi);
    const std::array<Vec3, 3> v = triangleVertices(setup.normals);
    facts.sides = {arc(v[1], v[2]), arc(v[2], v[0]), arc(v[0], v[1])};
    facts.area = facts.angles[0] + facts.angles[1] + facts.angles[2] - setup.pi;
    facts.group = findMirrorGroup(setup.normals);
    facts.density = static_cast<double>(facts.group.order) * facts.area / (4.0 * setup.pi);
    return facts;
}

std::string groupSentence(const MirrorGroup& group) {
    if (group.kind == GroupKind::dihedral) {
        return std::to_string(group.mirrors.size() - 1) +
               " mirrors through one axis at equal angles, and one perpendicular to it";
    }
    constexpr std::array<std::string_view, 5> sentences = {
        "the images of the triangle are dense on the sphere",
        "",
        "the mirrors of the regular tetrahedron",
        "the mirrors of the cube and the regular octahedron",
        "the mirrors of the regular dodecahedron and icosahedron",
    };
    return std::string(sentences[static_cast<std::size_t>(group.kind)]);
}

std::string factLines(const TriangleFacts& facts) {
    const auto& [A, B, C] = facts.angles;
    const auto& f = facts.fractions;
    const bool finite = facts.group.kind != GroupKind::none;
    const double share = facts.area / (4.0 * std::numbers::pi);
    std::string shareText = shortText(share);
    const std::optional<double> density = wholeDensity(facts.density);
    if (finite && density && *density > 0.0) {
        const double order = static_cast<double>(facts.group.order);
        const double g = greatestCommonDivisor(*density, order);
        shareText = wholeText(*density / g) + "/" + wholeText(order / g);
    }
    std::string lines;
    lines += "triangle: (" + schwarzText(f) + ")\n";
    lines += "angles: " + degreesText(A) + ", " + degreesText(B) + ", " + degreesText(C) + " (" +
             piText(f[0]) + ", " + piText(f[1]) + ", " + piText(f[2]) + ")\n";
    lines += "sides: " + degreesText(facts.sides[0]) + ", " + degreesText(facts.sides[1]) + ", " +
             degreesText(facts.sides[2]) + "\n";
    lines += "area: " + shortText(facts.area) + " sr, " + shareText + " of the sphere\n";
    lines += "group: " + std::string(groupName(facts.group.kind)) + "; " +
             groupSentence(facts.group) + "\n";
    lines += "order: " + (finite ? std::to_string(facts.group.order) : "infinite") + "\n";
    lines +=
        "mirrors: " + (finite ? std::to_string(facts.group.mirrors.size()) : "infinite") + "\n";
    lines += "density: " +
             (!finite   ? std::string("none")
              : density ? wholeText(*density)
                        : shortText(facts.density)) +
             "\n";
    return lines;
}

}  // namespace vantu
