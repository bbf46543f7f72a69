// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "snub/snub_points.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <tuple>

#include "geometry/projection.h"
#include "render/colour_rule.h"
#include "render/plane_samples.h"

namespace vantu {
namespace detail {
namespace {

double spreadOf(const std::array<double, 3>& d) noexcept {
    return std::max({std::abs(d[0] - d[1]), std::abs(d[1] - d[2]), std::abs(d[2] - d[0])});
}

// D_i for the pair of mirrors (j, k) other than i is |Qj - Qk|^2 with Qj - Qk = 2 (ak Nk - aj Nj):
// a quadratic form in P, with gradient 4 (Nk (Nk . v) - Nj (Nj . v)) for v = Qj - Qk.
struct Distance {
    double value;
    Vec3 gradient;
};

Distance pairDistance(const Vec3& p, const Vec3& nj, const Vec3& nk) noexcept {
    const Vec3 v = (2.0 * dot(p, nk)) * nk + (-2.0 * dot(p, nj)) * nj;
    return {dot(v, v), (4.0 * dot(nk, v)) * nk + (-4.0 * dot(nj, v)) * nj};
}

// Solves the 3 x 3 system m x = r by elimination with partial pivoting. False when singular.
bool solve3(std::array<std::array<double, 4>, 3> m, Vec3& x) noexcept {
    double largest = 0.0;
    for (const auto& row : m) {
        for (std::size_t c = 0; c < 3; ++c) {
            largest = std::max(largest, std::abs(row[c]));
        }
    }
    for (std::size_t c = 0; c < 3; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < 3; ++r) {
            if (std::abs(m[r][c]) > std::abs(m[pivot][c])) {
                pivot = r;
            }
        }
        if (!(std::abs(m[pivot][c]) > 1e-14 * largest)) {
            return false;
        }
        std::swap(m[c], m[pivot]);
        for (std::size_t r = c + 1; r < 3; ++r) {
            const double f = m[r][c] / m[c][c];
            for (std::size_t k = c; k < 4; ++k) {
                m[r][k] -= f * m[c][k];
            }
        }
    }
    std::array<double, 3> v{};
    for (std::size_t c = 3; c-- > 0;) {
        double s = m[c][3];
        for (std::size_t k = c + 1; k < 3; ++k) {
            s -= m[c][k] * v[k];
        }
        v[c] = s / m[c][c];
    }
    x = {v[0], v[1], v[2]};
    return true;
}

// Side count as the colouring counts it, with dots within the tolerance counting as zero.
SnubPoint describe(const Vec3& p, const Mirrors& n) noexcept {
    SnubPoint s;
    s.point = p;
    int k = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        s.dots[i] = dot(p, n[i]);
        s.signs[i] = s.dots[i] > snubTolerance ? 1 : (s.dots[i] < -snubTolerance ? -1 : 0);
        if (s.signs[i] >= 0) {
            ++k;
        }
    }
    s.sideCount = colour_rule::sideCount(k);
    const std::array<double, 3> d = mirrorDistances(p, n);
    s.distance = (d[0] + d[1] + d[2]) / 3.0;
    s.spread = spreadOf(d);
    return s;
}

// The member of the pair {p, -p} to list: the larger side count, then the larger sum of dots,
// then z, y, x positive.
bool preferNegated(const SnubPoint& s, const SnubPoint& minus) noexcept {
    if (s.sideCount != minus.sideCount) {
        return minus.sideCount > s.sideCount;
    }
    const double sum = s.dots[0] + s.dots[1] + s.dots[2];
    if (std::abs(sum) > snubTolerance) {
        return sum < 0.0;
    }
    const Vec3& p = s.point;
    for (const double c : {p.z, p.y, p.x}) {
        if (std::abs(c) > snubTolerance) {
            return c < 0.0;
        }
    }
    return false;
}

// Refined points closer than this, or whose antipodes are, are one point.
constexpr double samePointChord = 1e-4;

double chordUpToSign(const Vec3& a, const Vec3& b) noexcept {
    const Vec3 minus = a - b;
    const Vec3 sum = a + b;
    return std::sqrt(std::min(dot(minus, minus), dot(sum, sum)));
}

// One point for a group of refined points: their mean when it meets the tolerance (it lies
// closer to a multiple root than the points around it), else the one with the smallest spread.
SnubPoint representative(const std::vector<SnubPoint>& group, const Mirrors& n) noexcept {
    if (group.size() == 1) {
        return group.front();
    }
    Vec3 sum;
    const SnubPoint* best = &group.front();
    for (const SnubPoint& s : group) {
        sum = sum + (dot(s.point, group.front().point) < 0.0 ? -s.point : s.point);
        if (s.spread < best->spread) {
            best = &s;
        }
    }
    const Vec3 mean = unit(sum);
    const SnubPoint m = describe(mean, n);
    if (!(m.spread <= snubTolerance)) {
        return *best;
    }
    const SnubPoint minus = describe(-mean, n);
    return preferNegated(m, minus) ? minus : m;
}

// Coordinates rounded for sorting, so that rounding noise does not decide the order.
std::int64_t sortKey(double c) noexcept {
    return std::llround(c * 1e9);
}

// The seeding picture: the stereographic plane over [-reach, reach]^2, which shows the sphere
// to beyond 100 degrees from (0, 0, 1) in every direction.
using SeedProjection = Stereographic;
constexpr int seedGrid = 720;
constexpr double seedReach = 1.2;

// The plane coordinate of seed column or row i.
double seedCoordinate(int i) noexcept {
    return -seedReach + (2.0 * seedReach * i) / (seedGrid - 1);
}

// The point at seed column i and row j, which the seeding projection shows everywhere.
Vec3 seedPoint(int i, int j) noexcept {
    return SeedProjection::pointOf(seedCoordinate(i), seedCoordinate(j)).value_or(Vec3{});
}

// True when the hues present (a bit per place in the circle, bit 6 for grey) are not all within
// one pair of neighbours: several hue boundaries meet nearby.
bool huesMeet(unsigned present) noexcept {
    if ((present & 0x40U) != 0U) {
        return true;
    }
    for (unsigned h = 0; h < 6; ++h) {
        const unsigned pair = (1U << h) | (1U << ((h + 1) % 6));
        if ((present & ~pair) == 0U) {
            return false;
        }
    }
    return true;
}

// The differences F1 = D1 - D2, F2 = D2 - D3 and F3 = D3 - D1 at a point, with their gradients.
// Each D is a quadratic form in the point, so each gradient is linear in it.
struct Differences {
    std::array<double, 3> value;
    std::array<Vec3, 3> gradient;
};

Differences differencesAt(const Vec3& p, const Mirrors& n) noexcept {
    const Distance d1 = pairDistance(p, n[1], n[2]);
    const Distance d2 = pairDistance(p, n[2], n[0]);
    const Distance d3 = pairDistance(p, n[0], n[1]);
    return {{d1.value - d2.value, d2.value - d3.value, d3.value - d1.value},
            {d1.gradient - d2.gradient, d2.gradient - d3.gradient, d3.gradient - d1.gradient}};
}

// A meeting point where the curve of one difference crosses itself, near `p`. When two angles of
// the triangle are equal or supplementary, the difference of the two distances whose pairs of
// mirrors meet at those vertices factors into two linear forms: its curve is two great circles,
// crossing where the form's matrix has its null vector. When the other curve passes through the
// crossing (as for codes 410, 411 and 412, where it also touches one of the circles there), the
// meeting point is a multiple root of F1 = F2 = 0: Newton's method converges to it only linearly,
// and the rounding of the normals splits it into simple roots some 1e-5 away, or none, over a
// patch where the spread is within the tolerance. The null vector itself is as exact as the
// normals. Returns the crossing within samePointChord of `p` (of the same sign) that meets the
// tolerance, or nothing.
std::optional<Vec3> crossingNear(const Vec3& p, const Mirrors& n) noexcept {
    // Twice the rows of each form's matrix: the gradients at the axes.
    std::array<std::array<Vec3, 3>, 3> rows{};
    const std::array<Vec3, 3> axes = {Vec3{1.0, 0.0, 0.0}, Vec3{0.0, 1.0, 0.0},
                                      Vec3{0.0, 0.0, 1.0}};
    for (std::size_t a = 0; a < 3; ++a) {
        const Differences f = differencesAt(axes[a], n);
        for (std::size_t i = 0; i < 3; ++i) {
            rows[i][a] = f.gradient[i];
        }
    }
    for (const std::array<Vec3, 3>& r : rows) {
        // The null vector of a matrix of rank 2 is the cross product of two rows; the pair with
        // the longest product is the best conditioned.
        Vec3 v = cross(r[0], r[1]);
        for (const Vec3& w : {cross(r[1], r[2]), cross(r[2], r[0])}) {
            if (dot(w, w) > dot(v, v)) {
                v = w;
            }
        }
        if (!(dot(v, v) > 0.0)) {
            continue;
        }
        v = unit(dot(v, p) < 0.0 ? -v : v);
        if (chordUpToSign(v, p) < samePointChord &&
            spreadOf(mirrorDistances(v, n)) <= snubTolerance) {
            return v;
        }
    }
    return std::nullopt;
}

}  // namespace

int hueOf(PackedColour colour) noexcept {
    return static_cast<int>(colour_rule::hueOf(colour_rule::decode(colour)));
}

std::optional<Vec3> refineSnubPoint(const Vec3& seed, const Mirrors& n) noexcept {
    Vec3 p = unit(seed);
    constexpr int maxSteps = 60;
    int settled = 0;
    for (int step = 0; step < maxSteps && settled < 2; ++step) {
        const Differences f = differencesAt(p, n);
        // Two equations for the equal distances and one keeping the step on the tangent plane.
        const std::array<std::array<double, 4>, 3> system = {{
            {f.gradient[0].x, f.gradient[0].y, f.gradient[0].z, -f.value[0]},
            {f.gradient[1].x, f.gradient[1].y, f.gradient[1].z, -f.value[1]},
            {p.x, p.y, p.z, -(dot(p, p) - 1.0) / 2.0},
        }};
        Vec3 delta;
        if (!solve3(system, delta)) {
            return std::nullopt;
        }
        const double length = std::sqrt(dot(delta, delta));
        if (!std::isfinite(length)) {
            return std::nullopt;
        }
        if (length > 0.25) {
            delta = (0.25 / length) * delta;
        }
        p = unit(p + delta);
        // Once the steps are at rounding level, take one more and stop.
        settled = length < 1e-14 ? settled + 1 : 0;
    }
    // Near a crossing, Newton's method converges slowly and to whichever root the rounding left
    // there: the crossing itself is exact.
    return crossingNear(p, n).value_or(p);
}

}  // namespace detail

std::vector<SnubPoint> findSnubPoints(const Mirrors& n, double pi) {
    // Every seed refined, each as the member of its pair that is listed.
    std::vector<SnubPoint> refined;
    const auto refine = [&](const Vec3& seed) {
        const std::optional<Vec3> p = detail::refineSnubPoint(seed, n);
        if (!p) {
            return;
        }
        const SnubPoint s = detail::describe(*p, n);
        if (!(s.spread <= snubTolerance)) {
            return;
        }
        const SnubPoint minus = detail::describe(-*p, n);
        refined.push_back(detail::preferNegated(s, minus) ? minus : s);
    };

    // The hues of the seeding picture, two rows at a time; a seed in every 2 x 2 group of
    // pixels where hue boundaries meet.
    // Coloured as the stereographic picture colours the same points.
    std::vector<double> us(detail::seedGrid);
    for (int i = 0; i < detail::seedGrid; ++i) {
        us[static_cast<std::size_t>(i)] = detail::seedCoordinate(i);
    }
    std::vector<PackedColour> colours(detail::seedGrid);
    std::vector<int> above(detail::seedGrid);
    std::vector<int> below(detail::seedGrid);
    const auto hueRow = [&](int j, std::vector<int>& hues) {
        const double v = detail::seedCoordinate(j);
        colourPlaneSamples(detail::SeedProjection::id, n, pi, v, us, colours);
        std::transform(colours.begin(), colours.end(), hues.begin(), detail::hueOf);
    };
    const auto bit = [](const std::vector<int>& hues, int i) {
        return 1U << static_cast<unsigned>(hues[static_cast<std::size_t>(i)]);
    };
    hueRow(0, above);
    for (int j = 1; j < detail::seedGrid; ++j) {
        hueRow(j, below);
        for (int i = 1; i < detail::seedGrid; ++i) {
            if (detail::huesMeet(bit(above, i - 1) | bit(above, i) | bit(below, i - 1) |
                                 bit(below, i))) {
                refine((detail::seedPoint(i - 1, j - 1) + detail::seedPoint(i, j - 1)) +
                       (detail::seedPoint(i - 1, j) + detail::seedPoint(i, j)));
            }
        }
        std::swap(above, below);
    }

    // Seeds of one point meet there to rounding for a simple root, and exactly at a crossing of
    // the curve of one difference (refineSnubPoint). At any other multiple one, where the curves
    // D1 = D2 and D2 = D3 touch, Newton's method slows down and the distances agree to the
    // tolerance over a small patch, so the seeds stop around it: one point per patch.
    std::vector<std::vector<SnubPoint>> groups;
    for (const SnubPoint& s : refined) {
        const auto same = [&](const std::vector<SnubPoint>& g) {
            return detail::chordUpToSign(g.front().point, s.point) < detail::samePointChord;
        };
        const auto group = std::find_if(groups.begin(), groups.end(), same);
        if (group == groups.end()) {
            groups.push_back({s});
        } else {
            group->push_back(s);
        }
    }
    std::vector<SnubPoint> found;
    for (const std::vector<SnubPoint>& g : groups) {
        found.push_back(detail::representative(g, n));
    }

    std::sort(found.begin(), found.end(), [](const SnubPoint& a, const SnubPoint& b) {
        const auto key = [](const SnubPoint& s) {
            const auto inside = std::count(s.signs.begin(), s.signs.end(), 1);
            return std::make_tuple(-inside, -s.sideCount, detail::sortKey(s.point.x),
                                   detail::sortKey(s.point.y), detail::sortKey(s.point.z));
        };
        return key(a) < key(b);
    });
    return found;
}

}  // namespace vantu
