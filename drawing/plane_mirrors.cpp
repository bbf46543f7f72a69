// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "drawing/plane_mirrors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "setup/triangle_facts.h"

namespace vantu {
namespace {

// The product that reflections in a plane's mirrors use: the form in the hyperbolic plane; in
// the Euclidean one the dot product of the lines' x and y parts, and a line's measure of a point
// (a x + b y) + c z.
struct PlaneProducts {
    Geometry geometry;

    [[nodiscard]] double normals(const Vec3& a, const Vec3& b) const noexcept {
        return geometry == Geometry::hyperbolic ? hyperbolicForm(a, b) : a.x * b.x + a.y * b.y;
    }
    [[nodiscard]] double measure(const Vec3& normal, const Vec3& p) const noexcept {
        return geometry == Geometry::hyperbolic
                   ? hyperbolicForm(normal, p)
                   : (normal.x * p.x + normal.y * p.y) + normal.z * p.z;
    }
    // The point `p` reflected in the mirror of `m`.
    [[nodiscard]] Vec3 point(const Vec3& m, const Vec3& p) const noexcept {
        const double k = 2.0 * measure(m, p) / normals(m, m);
        return geometry == Geometry::hyperbolic ? p - k * m : p - k * Vec3{m.x, m.y, 0.0};
    }
    // The mirror of `l` reflected in the mirror of `m`.
    [[nodiscard]] Vec3 normal(const Vec3& m, const Vec3& l) const noexcept {
        return l - (2.0 * normals(m, l) / normals(m, m)) * m;
    }
};

struct Tile {
    Mirrors normals;                // each pointing into the tile
    std::array<Vec3, 3> vertices;   // vertex i where mirrors i + 1 and i + 2 meet
    std::array<OutputPoint, 3> at;  // where the picture puts them
};

std::uint64_t cellKey(double x, double y) noexcept {
    const auto cell = [](double v) {
        return static_cast<std::uint32_t>(
            static_cast<std::int32_t>(std::clamp(v, -1e6, 1e6) * 64.0));
    };
    return (std::uint64_t{cell(x)} << 32U) | cell(y);
}

// The keys of cellKey seen so far: open addressing, a table of a power of two that doubles
// before it is half full. A cell's coordinates are clamped within 2^31, so no key is `empty`.
class SeenCells {
public:
    SeenCells() : m_slots(std::size_t{1} << 16U, empty) {}

    [[nodiscard]] std::size_t size() const noexcept { return m_count; }

    // Whether `key` is new, adding it.
    bool insert(std::uint64_t key) {
        if (2 * (m_count + 1) > m_slots.size()) {
            std::vector<std::uint64_t> old(m_slots.size() * 2, empty);
            old.swap(m_slots);
            for (const std::uint64_t k : old) {
                if (k != empty) {
                    place(k);
                }
            }
        }
        if (!place(key)) {
            return false;
        }
        ++m_count;
        return true;
    }

private:
    static constexpr std::uint64_t empty = 0x8000000080000000ULL;

    bool place(std::uint64_t key) noexcept {
        const std::size_t mask = m_slots.size() - 1;
        // Fibonacci hashing: the high bits of the product mix both cells.
        std::size_t i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> 20U) & mask;
        while (m_slots[i] != empty) {
            if (m_slots[i] == key) {
                return false;
            }
            i = (i + 1) & mask;
        }
        m_slots[i] = key;
        return true;
    }

    std::vector<std::uint64_t> m_slots;
    std::size_t m_count = 0;
};

// A key of the mirror of `n`, the same for -n: `n` divided by its largest component, in steps
// of 2^-26.
std::array<std::int64_t, 3> mirrorKey(const Vec3& n) noexcept {
    const double largest = std::abs(n.x) >= std::max(std::abs(n.y), std::abs(n.z)) ? n.x
                           : std::abs(n.y) >= std::abs(n.z)                        ? n.y
                                                                                   : n.z;
    const Vec3 u = (1.0 / largest) * n;
    constexpr double steps = 67108864.0;
    return {std::llround(u.x * steps), std::llround(u.y * steps), std::llround(u.z * steps)};
}

struct MirrorKeyHash {
    std::size_t operator()(const std::array<std::int64_t, 3>& k) const noexcept {
        std::uint64_t h = 1469598103934665603ULL;
        for (const std::int64_t c : k) {
            h = (h ^ static_cast<std::uint64_t>(c)) * 1099511628211ULL;
        }
        return h;
    }
};

}  // namespace

std::vector<CurvePart> planeGroupMirrors(const Mirrors& normals, Geometry geometry, bool halved,
                                         const Overlay& overlay) {
    std::vector<CurvePart> parts;
    if (geometry == Geometry::spherical) {
        return parts;
    }
    const PlaneProducts products{geometry};
    const Vec3 centre{0.0, 0.0, 1.0};
    Mirrors start = normals;
    if (halved) {
        // The apex is the vertex whose neighbours have equal angles; the half of the triangle
        // beside mirror j has the bisector N_k - N_j (unit normals) for its third side.
        std::array<double, 3> cosines{};
        for (std::size_t i = 0; i < 3; ++i) {
            const Vec3& a = normals[(i + 1) % 3];
            const Vec3& b = normals[(i + 2) % 3];
            cosines[i] = -products.normals(a, b) /
                         std::sqrt(products.normals(a, a) * products.normals(b, b));
        }
        std::size_t apex = 0;
        for (std::size_t i = 1; i < 3; ++i) {
            if (std::abs(cosines[(i + 1) % 3] - cosines[(i + 2) % 3]) <
                std::abs(cosines[(apex + 1) % 3] - cosines[(apex + 2) % 3])) {
                apex = i;
            }
        }
        const std::size_t j = (apex + 1) % 3;
        const std::size_t k = (apex + 2) % 3;
        const auto unitOf = [&](const Vec3& n) {
            return (1.0 / std::sqrt(products.normals(n, n))) * n;
        };
        start[k] = unitOf(unitOf(normals[k]) - unitOf(normals[j]));
    }
    Tile tile{start, triangleVertices(start, geometry), {}};
    const auto reflect = [&](Tile& t, std::size_t i) {
        const Vec3 m = t.normals[i];
        for (std::size_t j = 0; j < 3; ++j) {
            t.normals[j] = j == i ? -m : products.normal(m, t.normals[j]);
        }
        t.vertices[i] = products.point(m, t.vertices[i]);
    };
    // The tile that holds the centre: each reflection in a side with the centre beyond it takes
    // one mirror fewer between the tile and the centre.
    for (int step = 0; step < 100000; ++step) {
        std::size_t beyond = 3;
        double least = 0.0;
        for (std::size_t i = 0; i < 3; ++i) {
            const double m = products.measure(tile.normals[i], centre) /
                             std::sqrt(products.normals(tile.normals[i], tile.normals[i]));
            if (m < least) {
                least = m;
                beyond = i;
            }
        }
        if (beyond == 3 || !(least < -1e-12)) {
            break;
        }
        reflect(tile, beyond);
    }

    const double right = overlay.width() - 0.5;
    const double bottom = overlay.height() - 0.5;
    // Whether a tile, its points placed, is larger than a pixel and reaches the picture: its
    // longest side more than two pixels, so that its others are about a pixel or more.
    const auto keep = [&](const Tile& t) {
        const auto [left, far] = std::minmax({t.at[0].x, t.at[1].x, t.at[2].x});
        const auto [top, low] = std::minmax({t.at[0].y, t.at[1].y, t.at[2].y});
        double squared = 0.0;
        for (std::size_t i = 0; i < 3; ++i) {
            const OutputPoint& a = t.at[i];
            const OutputPoint& b = t.at[(i + 1) % 3];
            squared = std::max(squared, (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
        }
        if (!(squared > 4.0)) {
            return false;
        }
        // Its sides bow out of the box of its vertices by less than its size.
        const double size = std::sqrt(squared);
        return left - size < right && far + size > -0.5 && top - size < bottom && low + size > -0.5;
    };
    const auto keyOf = [](const Tile& t) {
        return cellKey((t.at[0].x + t.at[1].x + t.at[2].x) / 3.0,
                       (t.at[0].y + t.at[1].y + t.at[2].y) / 3.0);
    };

    // Each mirror's stretch, as the tangents of t at its ends until the walk is done.
    std::unordered_map<std::array<std::int64_t, 3>, std::size_t, MirrorKeyHash> mirrors;
    const auto addSides = [&](const Tile& t) {
        for (std::size_t i = 0; i < 3; ++i) {
            const auto [at, added] = mirrors.try_emplace(mirrorKey(t.normals[i]), parts.size());
            if (added) {
                const GeodesicCurve curve = geodesicOf(t.normals[i], geometry);
                parts.push_back({curve, 1e300, -1e300});
            }
            CurvePart& part = parts[at->second];
            for (const std::size_t j : {(i + 1) % 3, (i + 2) % 3}) {
                const double s = geodesicTangent(part.curve, t.vertices[j], geometry);
                part.begin = std::min(part.begin, s);
                part.end = std::max(part.end, s);
            }
        }
    };

    for (std::size_t i = 0; i < 3; ++i) {
        const std::optional<OutputPoint> p = overlay.planePoint(tile.vertices[i]);
        if (!p) {
            return parts;
        }
        tile.at[i] = *p;
    }
    if (!keep(tile)) {
        return parts;
    }
    SeenCells seen;
    mirrors.reserve(std::size_t{1} << 13U);
    seen.insert(keyOf(tile));
    // Breadth first: the tiles found and not yet walked on from, the walked ones dropped now and
    // then, so that the queue holds little more than the walk's front.
    std::vector<Tile> queue{tile};
    for (std::size_t first = 0; first < queue.size() && seen.size() < maxPlaneTiles; ++first) {
        if (first >= 1024 && 2 * first >= queue.size()) {
            queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(first));
            first = 0;
        }
        const Tile t = queue[first];
        addSides(t);
        for (std::size_t i = 0; i < 3; ++i) {
            Tile next = t;
            const Vec3 m = t.normals[i];
            next.vertices[i] = products.point(m, t.vertices[i]);
            const std::optional<OutputPoint> p = overlay.planePoint(next.vertices[i]);
            if (!p) {
                continue;
            }
            next.at[i] = *p;
            if (!keep(next) || !seen.insert(keyOf(next))) {
                continue;
            }
            for (std::size_t j = 0; j < 3; ++j) {
                next.normals[j] = j == i ? -m : products.normal(m, t.normals[j]);
            }
            queue.push_back(next);
        }
    }
    for (CurvePart& part : parts) {
        part.begin = std::atan(part.begin);
        part.end = std::atan(part.end);
    }
    return parts;
}

}  // namespace vantu
