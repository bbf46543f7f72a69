// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/mirror_group.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "setup/triangle_notation.h"

namespace vantu {
namespace {

// The mirrors found so far, looked up by the cell of a grid that holds each normal: a mirror
// within the tolerance of a normal lies in the normal's cell or a neighbour, for n or for -n.
class MirrorSet {
public:
    explicit MirrorSet(std::vector<Vec3>& mirrors) : m_mirrors(mirrors) {}

    // Adds `n` unless it is a mirror already; returns whether it was new.
    bool add(const Vec3& n) {
        for (const Vec3& v : {n, -n}) {
            const Cell c = cellOf(v);
            for (std::int64_t dx = -1; dx <= 1; ++dx) {
                for (std::int64_t dy = -1; dy <= 1; ++dy) {
                    for (std::int64_t dz = -1; dz <= 1; ++dz) {
                        const auto [first, last] =
                            m_cells.equal_range(keyOf({c.x + dx, c.y + dy, c.z + dz}));
                        for (auto it = first; it != last; ++it) {
                            if (length(m_mirrors[it->second] - v) <= sameMirrorTolerance) {
                                return false;
                            }
                        }
                    }
                }
            }
        }
        m_cells.emplace(keyOf(cellOf(n)), m_mirrors.size());
        m_mirrors.push_back(n);
        return true;
    }

private:
    struct Cell {
        std::int64_t x, y, z;
    };
    static constexpr double cellSize = 1.0 / 1024.0;

    static Cell cellOf(const Vec3& v) noexcept {
        const auto at = [](double c) {
            return static_cast<std::int64_t>(std::floor(c / cellSize));
        };
        return {at(v.x), at(v.y), at(v.z)};
    }
    static std::uint64_t keyOf(const Cell& c) noexcept {
        // Cells run from -1025 to 1024 on each axis: 12 bits each after the offset.
        const auto part = [](std::int64_t v) { return static_cast<std::uint64_t>(v + 2048); };
        return (part(c.x) << 24U) | (part(c.y) << 12U) | part(c.z);
    }

    std::vector<Vec3>& m_mirrors;
    std::unordered_multimap<std::uint64_t, std::size_t> m_cells;
};

Vec3 reflected(const Vec3& v, const Vec3& mirror) noexcept {
    return unit(v - (2.0 * dot(v, mirror)) * mirror);
}

// A triangle's angles in half turns, in lowest terms, smallest first: the same for the
// triangle in any order.
using SortedAngles = std::array<mpq_class, 3>;

SortedAngles sortedAngles(const ExactFractions& fractions) {
    SortedAngles angles = {fractions[0].halfTurns(), fractions[1].halfTurns(),
                           fractions[2].halfTurns()};
    std::sort(angles.begin(), angles.end());
    return angles;
}

// Schwarz's list: the triangles other than (2 2 n/d) whose mirrors generate a finite group, each
// once, in the usual notation, with the group.
struct SchwarzTriangle {
    GroupKind group;
    std::string_view angles;
};

constexpr std::array<SchwarzTriangle, 44> schwarzList = {{
    {GroupKind::tetrahedral, "2 3 3"},       {GroupKind::tetrahedral, "3/2 3 3"},
    {GroupKind::tetrahedral, "3/2 2 3"},     {GroupKind::tetrahedral, "3/2 3/2 2"},
    {GroupKind::tetrahedral, "3/2 3/2 3/2"}, {GroupKind::octahedral, "2 3 4"},
    {GroupKind::octahedral, "3/2 4 4"},      {GroupKind::octahedral, "3/2 2 4"},
    {GroupKind::octahedral, "4/3 3 4"},      {GroupKind::octahedral, "4/3 2 3"},
    {GroupKind::octahedral, "4/3 3/2 2"},    {GroupKind::octahedral, "4/3 4/3 3/2"},
    {GroupKind::icosahedral, "5/2 3 3"},     {GroupKind::icosahedral, "5/2 5/2 5/2"},
    {GroupKind::icosahedral, "2 3 5"},       {GroupKind::icosahedral, "2 5/2 5"},
    {GroupKind::icosahedral, "2 5/2 3"},     {GroupKind::icosahedral, "5/3 3 5"},
    {GroupKind::icosahedral, "5/3 5/2 3"},   {GroupKind::icosahedral, "5/3 2 5"},
    {GroupKind::icosahedral, "5/3 2 3"},     {GroupKind::icosahedral, "5/3 5/3 5/2"},
    {GroupKind::icosahedral, "3/2 5 5"},     {GroupKind::icosahedral, "3/2 3 5"},
    {GroupKind::icosahedral, "3/2 5/2 5"},   {GroupKind::icosahedral, "3/2 5/2 5/2"},
    {GroupKind::icosahedral, "3/2 2 5"},     {GroupKind::icosahedral, "3/2 2 5/2"},
    {GroupKind::icosahedral, "3/2 5/3 3"},   {GroupKind::icosahedral, "3/2 5/3 2"},
    {GroupKind::icosahedral, "3/2 5/3 5/3"}, {GroupKind::icosahedral, "3/2 3/2 5/2"},
    {GroupKind::icosahedral, "5/4 5 5"},     {GroupKind::icosahedral, "5/4 3 5"},
    {GroupKind::icosahedral, "5/4 3 3"},     {GroupKind::icosahedral, "5/4 5/2 3"},
    {GroupKind::icosahedral, "5/4 2 3"},     {GroupKind::icosahedral, "5/4 2 5/2"},
    {GroupKind::icosahedral, "5/4 5/3 2"},   {GroupKind::icosahedral, "5/4 3/2 2"},
    {GroupKind::icosahedral, "5/4 3/2 5/3"}, {GroupKind::icosahedral, "5/4 3/2 3/2"},
    {GroupKind::icosahedral, "5/4 5/4 3/2"}, {GroupKind::icosahedral, "5/4 5/4 5/4"},
}};

// The group of a triangle on Schwarz's list with the angles `angles`, none for any other.
GroupKind schwarzGroup(const SortedAngles& angles) {
    for (const SchwarzTriangle& t : schwarzList) {
        if (sortedAngles(exactSchwarzFractions(t.angles)) == angles) {
            return t.group;
        }
    }
    return GroupKind::none;
}

// The Euclidean triangles whose mirrors generate a discrete group, with its name and how many
// triangles of its tiling each is made of. Every other one has a vertex of angle (pi / n) d with
// n other than 2, 3, 4 and 6, whose two mirrors turn the plane by 2 pi / n, a turn no discrete
// group of the plane's motions has: its images are dense.
struct WallpaperTriangle {
    std::string_view angles;
    std::string_view symbol;
    int cover;
};

constexpr std::array<WallpaperTriangle, 4> wallpaperList = {{
    {"2 3 6", "p6m", 1},
    {"2 4 4", "p4m", 1},
    {"3 3 3", "p3m1", 1},
    {"3/2 6 6", "p6m", 2},  // two triangles (2 3 6) about their common side
}};

MirrorGroup euclideanGroup(const SortedAngles& angles) {
    MirrorGroup group;
    group.geometry = Geometry::euclidean;
    for (const WallpaperTriangle& t : wallpaperList) {
        if (sortedAngles(exactSchwarzFractions(t.angles)) == angles) {
            group.kind = GroupKind::wallpaper;
            group.symbol = t.symbol;
            group.cover = t.cover;
        }
    }
    return group;
}

// The whole numbers p q r smallest first, as in "2 3 7".
std::string tilingSymbol(std::array<mpz_class, 3> numbers) {
    std::sort(numbers.begin(), numbers.end());
    return numbers[0].get_str() + " " + numbers[1].get_str() + " " + numbers[2].get_str();
}

MirrorGroup hyperbolicGroup(const SortedAngles& angles) {
    MirrorGroup group;
    group.geometry = Geometry::hyperbolic;
    group.kind = GroupKind::undecided;
    if (std::all_of(angles.begin(), angles.end(),
                    [](const mpq_class& a) { return a.get_num() == 1; })) {
        // pi/p, pi/q, pi/r: the triangle of its own tiling.
        group.kind = GroupKind::hyperbolic;
        group.symbol =
            tilingSymbol({angles[0].get_den(), angles[1].get_den(), angles[2].get_den()});
        group.cover = 1;
        return group;
    }
    // 2 pi/n (n odd) between two angles pi/m: two right triangles (2 m n) on either side of the
    // bisector of the angle 2 pi/n, which is a mirror of the two sides that meet there.
    for (std::size_t i = 0; i < 3; ++i) {
        const mpq_class& other1 = angles[(i + 1) % 3];
        const mpq_class& other2 = angles[(i + 2) % 3];
        if (angles[i].get_num() == 2 && other1 == other2 && other1.get_num() == 1) {
            group.kind = GroupKind::hyperbolic;
            group.symbol = tilingSymbol({2, other1.get_den(), angles[i].get_den()});
            group.cover = 2;
            return group;
        }
    }
    return group;
}

}  // namespace

std::string_view groupName(GroupKind kind) noexcept {
    constexpr std::array<std::string_view, 8> names = {"none",       "dihedral",    "tetrahedral",
                                                       "octahedral", "icosahedral", "wallpaper",
                                                       "hyperbolic", "undecided"};
    return names[static_cast<std::size_t>(kind)];
}

bool isFinite(GroupKind kind) noexcept {
    return kind == GroupKind::dihedral || kind == GroupKind::tetrahedral ||
           kind == GroupKind::octahedral || kind == GroupKind::icosahedral;
}

MirrorGroup triangleGroup(const ExactFractions& fractions) {
    const SortedAngles angles = sortedAngles(fractions);
    switch (triangleGeometry(fractions)) {
        case Geometry::spherical:
            break;
        case Geometry::euclidean:
            return euclideanGroup(angles);
        case Geometry::hyperbolic:
            return hyperbolicGroup(angles);
    }
    MirrorGroup group;
    const mpq_class rightAngle(1, 2);
    const bool twoSmallest = angles[0] == rightAngle && angles[1] == rightAngle;
    if (twoSmallest || (angles[1] == rightAngle && angles[2] == rightAngle)) {
        // The third angle is d/n half turns in lowest terms: n mirrors meet at its vertex.
        const mpz_class axisMirrors = (twoSmallest ? angles[2] : angles[0]).get_den();
        group.kind = GroupKind::dihedral;
        group.order = 4 * axisMirrors;
        group.mirrorCount = axisMirrors + 1;
        return group;
    }
    group.kind = schwarzGroup(angles);
    constexpr std::array<int, 5> orders = {0, 0, 24, 48, 120};
    constexpr std::array<int, 5> counts = {0, 0, 6, 9, 15};
    group.order = orders[static_cast<std::size_t>(group.kind)];
    group.mirrorCount = counts[static_cast<std::size_t>(group.kind)];
    return group;
}

std::vector<Vec3> groupMirrors(const Mirrors& normals, const MirrorGroup& group) {
    if (!isFinite(group.kind) || group.mirrorCount > static_cast<unsigned long>(maxGroupMirrors)) {
        return {};
    }
    for (const Vec3& n : normals) {
        if (!(std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z))) {
            return {};
        }
    }
    const std::size_t count = group.mirrorCount.get_ui();
    std::vector<Vec3> mirrors;
    MirrorSet found(mirrors);
    for (const Vec3& n : normals) {
        found.add(unit(n));
    }
    // Every mirror of the group is the image of one of the three under a product of the three
    // reflections, so reflecting each mirror found in the three alone finds them all.
    for (std::size_t next = 0; next < mirrors.size(); ++next) {
        for (const Vec3& g : normals) {
            found.add(reflected(mirrors[next], unit(g)));
            if (mirrors.size() > count) {
                return {};
            }
        }
    }
    if (mirrors.size() != count) {
        return {};
    }
    return mirrors;
}

MirrorGroup withMirrors(MirrorGroup group, const Mirrors& normals) {
    group.mirrors = groupMirrors(normals, group);
    return group;
}

}  // namespace vantu
