// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/triangle_facts.h"

#include <mpfr.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "geometry/text.h"
#include "setup/triangle_notation.h"

namespace vantu {
namespace {

// The angle of `f` as a multiple of pi in lowest terms: "π/2", "2π/3", "π".
std::string piText(const ExactFraction& f) {
    const mpq_class q = f.halfTurns();
    return (q.get_num() == 1 ? std::string() : q.get_num().get_str()) + "\u03c0" +
           (q.get_den() == 1 ? std::string() : "/" + q.get_den().get_str());
}

// The double nearest to `q`, or to pi times `q` when `timesPi`: computed to 256 bits, then
// rounded once to a double.
double nearestDouble(const mpq_class& q, bool timesPi = false) {
    mpfr_t value;
    mpfr_init2(value, 256);
    if (timesPi) {
        mpfr_const_pi(value, MPFR_RNDN);
        mpfr_mul_q(value, value, q.get_mpq_t(), MPFR_RNDN);
    } else {
        mpfr_set_q(value, q.get_mpq_t(), MPFR_RNDN);
    }
    const double nearest = mpfr_get_d(value, MPFR_RNDN);
    mpfr_clear(value);
    // MPFR keeps pi in a cache of each thread's own, which a thread that is not the main one
    // (the Explorer's frame source) would leave behind when it ends.
    mpfr_free_cache2(MPFR_FREE_LOCAL_CACHE);
    return nearest;
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
    (void)exactFractions(request.triangleCode, request.notation);
    requireProperTriangle(request.triangleCode, request.notation);
    return triangleFacts(request, prepareDrawing(request));
}

TriangleFacts triangleFacts(const DrawRequest& request, const DrawSetup& setup) {
    const ExactFractions code = exactFractions(request.triangleCode, request.notation);
    requireProperTriangle(request.triangleCode, request.notation);
    TriangleFacts facts;
    facts.fractions = permuted(code, request.rotation, request.reverse);
    facts.angles = vertexAngles(request, setup.pi);
    const std::array<Vec3, 3> v = triangleVertices(setup.normals);
    facts.sides = {arc(v[1], v[2]), arc(v[2], v[0]), arc(v[0], v[1])};
    const mpq_class excess = code[0].halfTurns() + code[1].halfTurns() + code[2].halfTurns() - 1;
    facts.share = excess / 4;
    facts.area = nearestDouble(excess, /*timesPi=*/true);
    facts.group = withMirrors(triangleGroup(code), setup.normals);
    facts.density = facts.group.order * facts.share;
    return facts;
}

std::string groupSentence(const MirrorGroup& group) {
    if (group.kind == GroupKind::dihedral) {
        return mpz_class(group.mirrorCount - 1).get_str() +
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
    const MirrorGroup& group = facts.group;
    const bool finite = group.kind != GroupKind::none;
    const std::string shareText =
        finite ? facts.share.get_str() : shortText(nearestDouble(facts.share));
    std::string mirrors = finite ? group.mirrorCount.get_str() : "infinite";
    if (group.mirrorCount > static_cast<unsigned long>(maxGroupMirrors)) {
        mirrors += " (too many to mark)";
    }
    std::string lines;
    lines += "triangle: (" + schwarzText(f) + ")\n";
    lines += "angles: " + degreesText(A) + ", " + degreesText(B) + ", " + degreesText(C) + " (" +
             piText(f[0]) + ", " + piText(f[1]) + ", " + piText(f[2]) + ")\n";
    lines += "sides: " + degreesText(facts.sides[0]) + ", " + degreesText(facts.sides[1]) + ", " +
             degreesText(facts.sides[2]) + "\n";
    lines += "area: " + shortText(facts.area) + " sr, " + shareText + " of the sphere\n";
    lines += "group: " + std::string(groupName(group.kind)) + "; " + groupSentence(group) + "\n";
    lines += "order: " + (finite ? group.order.get_str() : "infinite") + "\n";
    lines += "mirrors: " + mirrors + "\n";
    lines += "density: " + (finite ? facts.density.get_str() : std::string("none")) + "\n";
    return lines;
}

}  // namespace vantu
