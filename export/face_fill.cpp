// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "export/face_fill.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vantu {
namespace {

// The normal of the polygon `points` by Newell's method: its length is twice the area its sides
// enclose, each part counted as often as they wind round it.
Vec3 newellNormal(const std::vector<Vec3>& points) {
    Vec3 sum;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vec3& a = points[i];
        const Vec3& b = points[(i + 1) % points.size()];
        sum = sum +
              Vec3{(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
    }
    return sum;
}

// The face's plane as a normal of any length: Newell's, or, for a face whose sides enclose no
// area as a whole (a figure eight), the largest of the planes through its first vertex and two
// others. The zero vector when all of its vertices lie on one line.
Vec3 planeNormal(const std::vector<Vec3>& points) {
    const Vec3 newell = newellNormal(points);
    double size = 0.0;
    for (const Vec3& p : points) {
        size = std::fmax(size, dot(p - points[0], p - points[0]));
    }
    if (dot(newell, newell) > 1e-24 * size * size) {
        return newell;
    }
    Vec3 best;
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const Vec3 candidate = cross(points[i] - points[0], points[i + 1] - points[0]);
        if (dot(candidate, candidate) > dot(best, best)) {
            best = candidate;
        }
    }
    return dot(best, best) > 1e-24 * size * size ? best : Vec3{};
}

// Whether the polygon turns the same way at every vertex and round its inside once, seen along
// `normal`.
bool isConvex(const std::vector<Vec3>& points, const Vec3& normal) {
    const std::size_t n = points.size();
    int positive = 0;
    double turning = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3 in = points[(i + 1) % n] - points[i];
        const Vec3 out = points[(i + 2) % n] - points[(i + 1) % n];
        const double turn = dot(cross(in, out), normal);
        if (turn == 0.0) {
            return false;
        }
        positive += turn > 0.0 ? 1 : 0;
        turning += std::atan2(turn / length(normal), dot(in, out));
    }
    return (positive == 0 || positive == static_cast<int>(n)) &&
           std::fabs(turning) < 3.0 * std::numbers::pi;
}

// A point of the face's plane in two coordinates.
struct Flat {
    double x = 0.0;
    double y = 0.0;
};

double crossOf(const Flat& a, const Flat& b) {
    return a.x * b.y - a.y * b.x;
}

Flat minus(const Flat& a, const Flat& b) {
    return {a.x - b.x, a.y - b.y};
}

// The area of a star or self-intersecting face by the nonzero winding rule, cut into triangles.
// The face is laid flat in its plane and cut into vertical slabs at every vertex and at every
// point where two sides cross: no two sides cross inside a slab, so that the sides that span a
// slab lie one above the other, and the winding number between two of them is the sum of the
// directions of those below. Each run of the slab where it is not zero is a trapezoid between
// two sides, two triangles (one where two of its corners are one point). The new points are
// found in space from the parameters along the sides, not from the flat coordinates.
class Slabs {
public:
    Slabs(std::vector<Vec3>& points, const Vec3& normal) : points_(points), n_(points.size()) {
        // An orthonormal basis of the plane, from the axis farthest from the normal.
        const double x = std::fabs(normal.x);
        const double y = std::fabs(normal.y);
        const double z = std::fabs(normal.z);
        const Vec3 axis = x <= y && x <= z ? Vec3{1.0, 0.0, 0.0}
                          : y <= z         ? Vec3{0.0, 1.0, 0.0}
                                           : Vec3{0.0, 0.0, 1.0};
        const Vec3 u = unit(cross(normal, axis));
        const Vec3 v = cross(normal, u);
        double size = 0.0;
        for (const Vec3& p : points_) {
            const Vec3 d = p - points_[0];
            flat_.push_back({dot(d, u), dot(d, v)});
            size = std::fmax(size, length(d));
        }
        tolerance_ = 1e-12 * size;
        // A vertex at the place of an earlier one is that one.
        for (std::size_t i = 0; i < n_; ++i) {
            same_.push_back(static_cast<int>(i));
            for (std::size_t j = 0; j < i; ++j) {
                if (near(flat_[i], flat_[j])) {
                    same_.back() = same_[j];
                    break;
                }
            }
        }
    }

    // The corners of the triangles, three by three.
    std::vector<int> triangles() {
        findSides();
        findCrossings();
        findSlabs();
        std::vector<int> corners;
        for (std::size_t k = 0; k + 1 < slabX_.size(); ++k) {
            fillSlab(k, corners);
        }
        return corners;
    }

private:
    struct Side {
        int from = 0;  // the points it joins, from left to right
        int to = 0;
        int direction = 0;  // +1 when the face runs along it from left to right, -1 the other way
        std::vector<std::pair<std::size_t, int>> on;  // the points on it: slab boundary, point
    };

    bool near(const Flat& a, const Flat& b) const {
        return std::fabs(a.x - b.x) <= tolerance_ && std::fabs(a.y - b.y) <= tolerance_;
    }

    // The point at `at`, new unless one is there already; `make` gives its place in space.
    template <class Make>
    int pointAt(const Flat& at, Make make) {
        for (std::size_t i = 0; i < flat_.size(); ++i) {
            if ((i >= n_ || same_[i] == static_cast<int>(i)) && near(at, flat_[i])) {
                return static_cast<int>(i);
            }
        }
        points_.push_back(make());
        flat_.push_back(at);
        return static_cast<int>(points_.size() - 1);
    }

    // The point of `side` at `t` along it, from its first point in the face's order.
    Vec3 along(std::size_t side, double t) const {
        const Vec3& a = points_[side];
        const Vec3& b = points_[(side + 1) % n_];
        return a + std::clamp(t, 0.0, 1.0) * (b - a);
    }

    void findSides() {
        for (std::size_t i = 0; i < n_; ++i) {
            sides_.push_back({same_[i], same_[(i + 1) % n_], 1, {}});
        }
    }

    // Every crossing of two sides, and every vertex on a side between its ends, as points on
    // both.
    void findCrossings() {
        std::vector<std::vector<int>> on(n_);
        for (std::size_t a = 0; a < n_; ++a) {
            const Flat a0 = flat_[static_cast<std::size_t>(sides_[a].from)];
            const Flat d = minus(flat_[static_cast<std::size_t>(sides_[a].to)], a0);
            const double len = std::hypot(d.x, d.y);
            if (len <= tolerance_) {
                continue;
            }
            for (std::size_t v = 0; v < n_; ++v) {
                const Flat w = minus(flat_[v], a0);
                const double t = (w.x * d.x + w.y * d.y) / (len * len);
                if (same_[v] == static_cast<int>(v) &&
                    std::fabs(crossOf(d, w)) <= tolerance_ * len && t > 0.0 && t < 1.0) {
                    on[a].push_back(static_cast<int>(v));
                }
            }
            for (std::size_t b = a + 1; b < n_; ++b) {
                const Flat b0 = flat_[static_cast<std::size_t>(sides_[b].from)];
                const Flat e = minus(flat_[static_cast<std::size_t>(sides_[b].to)], b0);
                const double across = crossOf(d, e);
                if (across == 0.0) {
                    continue;  // parallel: where they overlap, their ends are on each other
                }
                const double t = crossOf(minus(b0, a0), e) / across;
                const double s = crossOf(minus(b0, a0), d) / across;
                const double slackA = tolerance_ / len;
                const double slackB = tolerance_ / std::hypot(e.x, e.y);
                if (t < -slackA || t > 1.0 + slackA || s < -slackB || s > 1.0 + slackB) {
                    continue;
                }
                const int p =
                    pointAt({a0.x + t * d.x, a0.y + t * d.y}, [&] { return along(a, t); });
                on[a].push_back(p);
                on[b].push_back(p);
            }
        }
        for (std::size_t a = 0; a < n_; ++a) {
            on[a].push_back(sides_[a].from);
            on[a].push_back(sides_[a].to);
            onSide_.push_back(std::move(on[a]));
        }
    }

    // The slabs' boundaries: the points' abscissae, those closer than the tolerance as one.
    void findSlabs() {
        std::vector<int> order;
        for (std::size_t i = 0; i < flat_.size(); ++i) {
            if (i >= n_ || same_[i] == static_cast<int>(i)) {
                order.push_back(static_cast<int>(i));
            }
        }
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            return flat_[static_cast<std::size_t>(a)].x < flat_[static_cast<std::size_t>(b)].x;
        });
        boundaryOf_.assign(flat_.size(), 0);
        for (const int i : order) {
            const double x = flat_[static_cast<std::size_t>(i)].x;
            if (slabX_.empty() || x - slabX_.back() > tolerance_) {
                slabX_.push_back(x);
            }
            boundaryOf_[static_cast<std::size_t>(i)] = slabX_.size() - 1;
        }
        for (std::size_t a = 0; a < n_; ++a) {
            Side& side = sides_[a];
            if (boundaryOf_[static_cast<std::size_t>(side.from)] >
                boundaryOf_[static_cast<std::size_t>(side.to)]) {
                std::swap(side.from, side.to);
                side.direction = -1;
            }
            for (const int p : onSide_[a]) {
                const std::size_t k = boundaryOf_[static_cast<std::size_t>(p)];
                if (std::none_of(side.on.begin(), side.on.end(),
                                 [&](const auto& q) { return q.first == k; })) {
                    side.on.emplace_back(k, p);
                }
            }
        }
    }

    // The point of side `a` on the slab boundary `k`: a vertex or crossing there, or a new point.
    int corner(std::size_t a, std::size_t k) {
        Side& side = sides_[a];
        for (const auto& [boundary, p] : side.on) {
            if (boundary == k) {
                return p;
            }
        }
        const Flat& start = flat_[a];
        const Flat& end = flat_[(a + 1) % n_];
        const double t = (slabX_[k] - start.x) / (end.x - start.x);
        const int p = static_cast<int>(points_.size());
        points_.push_back(along(a, t));
        flat_.push_back({slabX_[k], start.y + t * (end.y - start.y)});
        side.on.emplace_back(k, p);
        return p;
    }

    // The ordinate of side `a` at `x`.
    double heightAt(std::size_t a, double x) const {
        const Flat& start = flat_[static_cast<std::size_t>(sides_[a].from)];
        const Flat& end = flat_[static_cast<std::size_t>(sides_[a].to)];
        return start.y + (x - start.x) / (end.x - start.x) * (end.y - start.y);
    }

    void fillSlab(std::size_t k, std::vector<int>& corners) {
        std::vector<std::pair<double, std::size_t>> spanning;
        const double middle = 0.5 * (slabX_[k] + slabX_[k + 1]);
        for (std::size_t a = 0; a < n_; ++a) {
            if (boundaryOf_[static_cast<std::size_t>(sides_[a].from)] <= k &&
                boundaryOf_[static_cast<std::size_t>(sides_[a].to)] > k) {
                spanning.emplace_back(heightAt(a, middle), a);
            }
        }
        std::sort(spanning.begin(), spanning.end());
        int winding = 0;
        std::size_t lowest = 0;
        for (std::size_t j = 0; j < spanning.size(); ++j) {
            const int before = winding;
            winding += sides_[spanning[j].second].direction;
            if (before == 0 && winding != 0) {
                lowest = spanning[j].second;
            } else if (before != 0 && winding == 0) {
                trapezoid(lowest, spanning[j].second, k, corners);
            }
        }
    }

    // The trapezoid between sides `low` and `high` across slab `k`, counterclockwise.
    void trapezoid(std::size_t low, std::size_t high, std::size_t k, std::vector<int>& corners) {
        const std::array<int, 4> quad{corner(low, k), corner(low, k + 1), corner(high, k + 1),
                                      corner(high, k)};
        std::vector<int> distinct;
        for (std::size_t i = 0; i < 4; ++i) {
            if (quad[i] != quad[(i + 1) % 4]) {
                distinct.push_back(quad[i]);
            }
        }
        for (std::size_t i = 1; i + 1 < distinct.size(); ++i) {
            corners.insert(corners.end(), {distinct[0], distinct[i], distinct[i + 1]});
        }
    }

    std::vector<Vec3>& points_;
    std::size_t n_;
    std::vector<Flat> flat_;  // each point in the plane
    std::vector<int> same_;   // for each vertex, the first vertex at its place
    double tolerance_ = 0.0;
    std::vector<Side> sides_;
    std::vector<std::vector<int>> onSide_;  // the points found on each side
    std::vector<double> slabX_;             // the slabs' boundaries, from left to right
    std::vector<std::size_t> boundaryOf_;   // for each point, the boundary it lies on
};

// The triangles of `points` (a face seen along `normal`) by the nonzero winding rule, as corners
// three by three; the new points are added to `points`.
std::vector<int> tessellate(std::vector<Vec3>& points, const Vec3& normal) {
    return Slabs(points, normal).triangles();
}

}  // namespace

FaceFill fillFace(const Polyhedron& polyhedron, const Face& face) {
    const std::size_t n = face.vertices.size();
    if (n < 3) {
        throw std::invalid_argument("a face needs three vertices at least, not " +
                                    std::to_string(n));
    }
    FaceFill fill;
    fill.type = face.type;
    fill.points.reserve(n);
    Vec3 centre;
    for (const int v : face.vertices) {
        if (v < 0 || static_cast<std::size_t>(v) >= polyhedron.vertices.size()) {
            throw std::invalid_argument("a face's vertex " + std::to_string(v) +
                                        " is not one of the polyhedron's " +
                                        std::to_string(polyhedron.vertices.size()));
        }
        fill.points.push_back(polyhedron.vertices[static_cast<std::size_t>(v)]);
        centre = centre + fill.points.back();
    }
    Vec3 normal = planeNormal(fill.points);
    if (normal == Vec3{}) {
        throw std::invalid_argument("a face whose vertices lie on one line has no area");
    }
    normal = unit(normal);
    // Away from the polyhedron's centre, which is the origin, unless the face passes through it.
    const double side = dot(normal, (1.0 / static_cast<double>(n)) * centre);
    if (side < -1e-12) {
        normal = -normal;
    }
    fill.normal = normal;

    std::vector<int> corners;
    if (isConvex(fill.points, normal)) {
        // A fan from the first vertex, turned below when the face turns the other way.
        for (int i = 1; i + 1 < static_cast<int>(n); ++i) {
            corners.insert(corners.end(), {0, i, i + 1});
        }
    } else {
        corners = tessellate(fill.points, normal);
    }
    // Each triangle counterclockwise seen along the normal; none of zero area.
    for (std::size_t i = 0; i < corners.size(); i += 3) {
        std::array<int, 3> triangle{corners[i], corners[i + 1], corners[i + 2]};
        const auto at = [&](int k) { return fill.points[static_cast<std::size_t>(k)]; };
        const double turn = dot(
            cross(at(triangle[1]) - at(triangle[0]), at(triangle[2]) - at(triangle[0])), normal);
        if (turn == 0.0) {
            continue;
        }
        if (turn < 0.0) {
            std::swap(triangle[1], triangle[2]);
        }
        fill.triangles.push_back(triangle);
    }
    return fill;
}

std::vector<FaceFill> fillFaces(const Polyhedron& polyhedron) {
    std::vector<FaceFill> fills;
    fills.reserve(polyhedron.faces.size());
    for (const Face& face : polyhedron.faces) {
        fills.push_back(fillFace(polyhedron, face));
    }
    return fills;
}

}  // namespace vantu
