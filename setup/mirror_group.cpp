// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/mirror_group.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>

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

}  // namespace

std::string_view groupName(GroupKind kind) noexcept {
    constexpr std::array<std::string_view, 5> names = {"none", "dihedral", "tetrahedral",
                                                       "octahedral", "icosahedral"};
    return names[static_cast<std::size_t>(kind)];
}

MirrorGroup findMirrorGroup(const Mirrors& normals) {
    for (const Vec3& n : normals) {
        if (!(std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z))) {
            return {};
        }
    }
    MirrorGroup group;
    MirrorSet found(group.mirrors);
    for (const Vec3& n : normals) {
        found.add(unit(n));
    }
    // Every mirror of the group is the image of one of the three under a product of the three
    // reflections, so reflecting each mirror found in the three alone finds them all.
    for (std::size_t next = 0; next < group.mirrors.size(); ++next) {
        for (const Vec3& g : normals) {
            found.add(reflected(group.mirrors[next], unit(g)));
            if (group.mirrors.size() > maxGroupMirrors) {
                return {};
            }
        }
    }
    // Of a dihedral group's mirrors only the one across the axis lies off it; the triangle has
    // it among its three, since three mirrors through one axis bound no triangle.
    const std::size_t count = group.mirrors.size();
    for (std::size_t i = 0; i < 3 && i < count; ++i) {
        bool perpendicular = true;
        for (std::size_t j = 0; j < count && perpendicular; ++j) {
            perpendicular = j == i || std::abs(dot(group.mirrors[i], group.mirrors[j])) <= 1e-9;
        }
        if (perpendicular) {
            group.kind = GroupKind::dihedral;
            group.order = 4 * static_cast<long>(count - 1);
            return group;
        }
    }
    switch (count) {
        case 6:
            group.kind = GroupKind::tetrahedral;
            group.order = 24;
            return group;
        case 9:
            group.kind = GroupKind::octahedral;
            group.order = 48;
            return group;
        case 15:
            group.kind = GroupKind::icosahedral;
            group.order = 120;
            return group;
        default:
            return {};
    }
}

}  // namespace vantu
