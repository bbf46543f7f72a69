// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/triangle_facts.h"

#include <mpfr.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "geometry/text.h"
#include "setup/triangle_notation.h"

namespace vantu {
namespace {

// pi times `q`, positive and in lowest terms: "π/2", "2π/3", "π".
std::string piText(const mpq_class& q) {
    return (q.get_num() == 1 ? std::string() : q.get_num().get_str()) + "\u03c0" +
           (q.get_den() == 1 ? std::string() : "/" + q.get_den().get_str());
}

// The angle of `f` as a multiple of pi in lowest terms.
std::string piText(const ExactFraction& f) {
    return piText(f.halfTurns());
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

// The form of the hyperbolic plane, (uy vy + ux vx) - uz vz.
double form(const Vec3& u, const Vec3& v) noexcept {
    return (u.y * v.y + u.x * v.x) - u.z * v.z;
}

// The distance between two points of a geometry's model.
double distance(const Vec3& u, const Vec3& v, Geometry geometry) noexcept {
    switch (geometry) {
        case Geometry::spherical:
            break;
        case Geometry::euclidean:
            return length(u - v);
        case Geometry::hyperbolic:
            return std::acosh(std::max(1.0, -form(u, v)));
    }
    return arc(u, v);
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

std::array<Vec3, 3> triangleVertices(const Mirrors& normals, Geometry geometry) noexcept {
    if (geometry == Geometry::spherical) {
        return triangleVertices(normals);
    }
    std::array<Vec3, 3> vertices{};
    for (std::size_t i = 0; i < 3; ++i) {
        const Vec3 v = cross(normals[(i + 1) % 3], normals[(i + 2) % 3]);
        if (geometry == Geometry::euclidean) {
            // The point where two lines meet, (x, y, 1).
            vertices[i] = Vec3{v.x / v.z, v.y / v.z, 1.0};
        } else {
            // Orthogonal to both normals under the form: the cross product with z negated, on
            // the sheet's upper half.
            const Vec3 w{v.x, v.y, -v.z};
            const double scale = (w.z < 0.0 ? -1.0 : 1.0) / std::sqrt(-form(w, w));
            vertices[i] = scale * w;
        }
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
    facts.geometry = setup.geometry;
    facts.angles = vertexAngles(request, setup.pi);
    const std::array<Vec3, 3> v = triangleVertices(setup.normals, setup.geometry);
    facts.sides = {distance(v[1], v[2], setup.geometry), distance(v[2], v[0], setup.geometry),
                   distance(v[0], v[1], setup.geometry)};
    const mpq_class excess = code[0].halfTurns() + code[1].halfTurns() + code[2].halfTurns() - 1;
    facts.group = withMirrors(triangleGroup(code), setup.normals);
    switch (setup.geometry) {
        case Geometry::spherical:
            facts.share = excess / 4;
            facts.area = nearestDouble(excess, /*timesPi=*/true);
            facts.density = facts.group.order * facts.share;
            break;
        case Geometry::euclidean: {
            const auto& [A, B, C] = facts.angles;
            facts.area = std::sin(A) * std::sin(B) / (2.0 * std::sin(C));
            facts.density = facts.group.cover;
            break;
        }
        case Geometry::hyperbolic:
            facts.area = nearestDouble(-excess, /*timesPi=*/true);
            facts.density = facts.group.cover;
            break;
    }
    return facts;
}

std::string groupSentence(const MirrorGroup& group) {
    switch (group.kind) {
        case GroupKind::none:
            if (group.geometry == Geometry::spherical) {
                break;
            }
            return "the images of the triangle are dense in the " +
                   std::string(geometryName(group.geometry)) + " plane";
        case GroupKind::wallpaper: {
            const std::string tiling = group.symbol == "p6m"   ? "2 3 6"
                                       : group.symbol == "p4m" ? "2 4 4"
                                                               : "3 3 3";
            return group.symbol + ", the group of the tiling by triangles (" + tiling + ")";
        }
        case GroupKind::hyperbolic:
            return "the hyperbolic triangle group (" + group.symbol + ")";
        case GroupKind::undecided:
            return "not proved discrete: the images of the triangle may be dense in the "
                   "hyperbolic plane";
        default:
            break;
    }
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
    const bool finite = isFinite(group.kind);
    const bool sphere = facts.geometry == Geometry::spherical;
    std::string mirrors = finite ? group.mirrorCount.get_str() : "infinite";
    if (group.mirrorCount > static_cast<unsigned long>(maxGroupMirrors)) {
        mirrors += " (too many to mark)";
    }
    const auto sideText = [sphere](double side) {
        return sphere ? degreesText(side) : shortText(side);
    };
    std::string area = shortText(facts.area);
    if (sphere) {
        area += " sr, " + (finite ? facts.share.get_str() : shortText(nearestDouble(facts.share))) +
                " of the sphere";
    } else if (facts.geometry == Geometry::hyperbolic) {
        area += ", " + piText(1 - (f[0].halfTurns() + f[1].halfTurns() + f[2].halfTurns()));
    } else {
        area += " (side c = 1)";
    }
    std::string density = "none";
    if (finite || group.cover > 0) {
        density = facts.density.get_str();
    } else if (group.kind == GroupKind::undecided) {
        density = "unknown";
    }
    std::string lines;
    lines += "triangle: (" + schwarzText(f) + ")\n";
    lines += "geometry: " + std::string(geometryName(facts.geometry)) + "\n";
    lines += "angles: " + degreesText(A) + ", " + degreesText(B) + ", " + degreesText(C) + " (" +
             piText(f[0]) + ", " + piText(f[1]) + ", " + piText(f[2]) + ")\n";
    lines += "sides: " + sideText(facts.sides[0]) + ", " + sideText(facts.sides[1]) + ", " +
             sideText(facts.sides[2]) + "\n";
    lines += "area: " + area + "\n";
    lines += "group: " + std::string(groupName(group.kind)) + "; " + groupSentence(group) + "\n";
    lines += "order: " + (finite ? group.order.get_str() : "infinite") + "\n";
    lines += "mirrors: " + mirrors + "\n";
    lines += "density: " + density + "\n";
    return lines;
}

}  // namespace vantu
