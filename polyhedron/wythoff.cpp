// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "polyhedron/wythoff.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <unordered_map>
#include <vector>

#include "geometry/draw_error.h"
#include "geometry/text.h"
#include "setup/triangle_facts.h"
#include "setup/triangle_notation.h"
#include "snub/snub_points.h"

namespace vantu {
namespace {

[[noreturn]] void refuse(FaultStage stage, const std::string& message) {
    throw DrawError(FaultKind::invalidOperation, stage, "polyhedron", message);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string joined(const std::vector<std::string_view>& words) {
    std::string text;
    for (const std::string_view w : words) {
        text += (text.empty() ? "" : " ") + std::string(w);
    }
    return text;
}

// A rotation or reflection of the group as its matrix, row by row.
struct Element {
    std::array<double, 9> m{};
    bool even = true;  // a product of an even number of reflections: a rotation
};

Vec3 apply(const Element& g, const Vec3& v) noexcept {
    const auto& m = g.m;
    return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
            m[6] * v.x + m[7] * v.y + m[8] * v.z};
}

// The reflection in the mirror of unit normal n: I - 2 n n^T.
Element reflection(const Vec3& n) noexcept {
    const std::array<double, 3> c{n.x, n.y, n.z};
    Element e;
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            e.m[i * 3 + j] = (i == j ? 1.0 : 0.0) - 2.0 * c[i] * c[j];
        }
    }
    e.even = false;
    return e;
}

Element product(const Element& a, const Element& b) noexcept {
    Element e;
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            e.m[i * 3 + j] =
                a.m[i * 3] * b.m[j] + a.m[i * 3 + 1] * b.m[3 + j] + a.m[i * 3 + 2] * b.m[6 + j];
        }
    }
    e.even = a.even == b.even;
    return e;
}

Vec3 reflected(const Vec3& v, const Vec3& n) noexcept {
    return v - (2.0 * dot(v, n)) * n;
}

// Points within `samePoint` of each other in every coordinate are one.
constexpr double samePoint = 1e-9;

// The points found so far, looked up by the cell of a grid that holds them: a point near a
// cell's border is looked for in the neighbouring cells too.
class PointIndex {
public:
    // The index of the point within samePoint of `p`, or -1.
    [[nodiscard]] int find(const Vec3& p) const {
        std::array<std::array<std::int64_t, 2>, 3> cells{};
        std::array<int, 3> counts{};
        const std::array<double, 3> c{p.x, p.y, p.z};
        for (std::size_t i = 0; i < 3; ++i) {
            const double scaled = c[i] / cell;
            const double base = std::floor(scaled);
            cells[i][0] = static_cast<std::int64_t>(base);
            counts[i] = 1;
            const double within = (scaled - base) * cell;
            if (within < samePoint) {
                cells[i][1] = cells[i][0] - 1;
                counts[i] = 2;
            } else if (cell - within < samePoint) {
                cells[i][1] = cells[i][0] + 1;
                counts[i] = 2;
            }
        }
        for (int a = 0; a < counts[0]; ++a) {
            for (int b = 0; b < counts[1]; ++b) {
                for (int d = 0; d < counts[2]; ++d) {
                    const auto range =
                        m_cells.equal_range(key(cells[0][static_cast<std::size_t>(a)],
                                                cells[1][static_cast<std::size_t>(b)],
                                                cells[2][static_cast<std::size_t>(d)]));
                    for (auto it = range.first; it != range.second; ++it) {
                        const Vec3& q = m_points[static_cast<std::size_t>(it->second)];
                        if (std::abs(q.x - p.x) <= samePoint && std::abs(q.y - p.y) <= samePoint &&
                            std::abs(q.z - p.z) <= samePoint) {
                            return it->second;
                        }
                    }
                }
            }
        }
        return -1;
    }

    // The index of `p`, added when it is new.
    int add(const Vec3& p) {
        const int found = find(p);
        if (found >= 0) {
            return found;
        }
        const int index = static_cast<int>(m_points.size());
        m_points.push_back(p);
        m_cells.emplace(key(static_cast<std::int64_t>(std::floor(p.x / cell)),
                            static_cast<std::int64_t>(std::floor(p.y / cell)),
                            static_cast<std::int64_t>(std::floor(p.z / cell))),
                        index);
        return index;
    }

    [[nodiscard]] const std::vector<Vec3>& points() const noexcept { return m_points; }
    void reserve(std::size_t n) {
        m_points.reserve(n);
        m_cells.reserve(n);
    }

private:
    static constexpr double cell = 1e-6;
    static std::int64_t key(std::int64_t x, std::int64_t y, std::int64_t z) noexcept {
        constexpr std::int64_t offset = std::int64_t{1} << 20;
        return ((x + offset) << 42) | ((y + offset) << 21) | (z + offset);
    }
    std::vector<Vec3> m_points;
    std::unordered_multimap<std::int64_t, int> m_cells;
};

// The elements of the group the reflections in `normals` generate (only its rotations when
// `rotationsOnly`), the identity first, found by multiplying by the generators on the right
// until no new one appears; each is told by where it takes a point on no mirror.
// The elements of a group, and for each the index of its product with each step on the right.
struct Group {
    std::vector<Element> elements;
    std::vector<std::array<int, 3>> next;
};

Group groupElements(const WythoffTriangle& t, bool rotationsOnly) {
    const auto& v = t.vertices;
    const Vec3 generic = unit(0.5123 * v[0] + 0.3171 * v[1] + 0.1706 * v[2]);
    std::array<Element, 3> generators{};
    for (std::size_t i = 0; i < 3; ++i) {
        generators[i] = reflection(t.setup.normals[i]);
    }
    std::vector<Element> steps;
    if (rotationsOnly) {
        // r_A = s_2 s_3, r_B = s_3 s_1, r_C = s_1 s_2 generate the rotations.
        for (std::size_t i = 0; i < 3; ++i) {
            steps.push_back(product(generators[(i + 1) % 3], generators[(i + 2) % 3]));
        }
    } else {
        steps.assign(generators.begin(), generators.end());
    }
    const long order = t.group.order.get_si() / (rotationsOnly ? 2 : 1);
    Group group;
    std::vector<Element>& elements = group.elements;
    elements.push_back(Element{{1, 0, 0, 0, 1, 0, 0, 0, 1}, true});
    elements.reserve(static_cast<std::size_t>(order));
    group.next.reserve(static_cast<std::size_t>(order));
    PointIndex seen;
    seen.reserve(static_cast<std::size_t>(order));
    seen.add(generic);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        group.next.emplace_back();
        for (std::size_t k = 0; k < steps.size(); ++k) {
            const Element g = product(elements[i], steps[k]);
            const std::size_t before = seen.points().size();
            group.next[i][k] = seen.add(apply(g, generic));
            if (seen.points().size() > before) {
                elements.push_back(g);
            }
        }
        if (static_cast<long>(elements.size()) > order) {
            refuse(FaultStage::triangle, "the group of the triangle (" + schwarzText(t.fractions) +
                                             ") came out with more elements than its " +
                                             t.group.order.get_str() +
                                             ": the mirrors are too far from exact to build "
                                             "its polyhedron");
        }
    }
    return group;
}

// How often the closed polygon `points` winds round `axis`, as a whole number (always >= 0).
int turnsAround(const std::vector<Vec3>& points, const Vec3& axis) {
    double total = 0.0;
    const Vec3 centre = dot(points.front(), axis) / dot(axis, axis) * axis;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vec3 a = points[i] - centre;
        const Vec3 b = points[(i + 1) % points.size()] - centre;
        total += std::atan2(dot(axis, cross(a, b)), dot(a, b));
    }
    return static_cast<int>(std::lround(std::abs(total) / (2.0 * std::numbers::pi)));
}

// The positions of the cyclic sequence `points` that make its shortest period, consecutive
// repeats dropped first.
std::vector<int> cycleOf(const std::vector<Vec3>& points) {
    const auto same = [&](int i, int j) {
        const Vec3& a = points[static_cast<std::size_t>(i)];
        const Vec3& b = points[static_cast<std::size_t>(j)];
        return std::abs(a.x - b.x) <= samePoint && std::abs(a.y - b.y) <= samePoint &&
               std::abs(a.z - b.z) <= samePoint;
    };
    std::vector<int> kept;
    for (int k = 0; k < static_cast<int>(points.size()); ++k) {
        if (kept.empty() || !same(kept.back(), k)) {
            kept.push_back(k);
        }
    }
    while (kept.size() > 1 && same(kept.back(), kept.front())) {
        kept.pop_back();
    }
    for (std::size_t k = 1; k < kept.size(); ++k) {
        if (same(kept[k], kept[0])) {
            kept.resize(k);
            break;
        }
    }
    return kept;
}

// The half turns of an angle's fraction in lowest terms, as n and d of pi d / n.
std::array<long, 2> lowestTerms(const ExactFraction& f) {
    const mpq_class q = f.halfTurns();
    return {q.get_den().get_si(), q.get_num().get_si()};
}

// One face before its copies: its type, and the walk that gives it from p: the group's step
// taken after each point of the word sequence, and the positions of the sequence kept as the
// face's vertices.
struct BaseFace {
    FaceType type;
    std::vector<int> steps;
    std::vector<int> kept;
};

std::vector<BaseFace> baseFaces(const WythoffTriangle& t, const Vec3& p, bool snub) {
    const Mirrors& n = t.setup.normals;
    std::vector<BaseFace> faces;
    const auto onMirror = [&](std::size_t i) { return std::abs(dot(p, n[i])) <= samePoint; };
    for (std::size_t v = 0; v < 3; ++v) {
        const std::size_t a = (v + 1) % 3;
        const std::size_t b = (v + 2) % 3;
        const auto [sides, halfTurns] = lowestTerms(t.fractions[v]);
        std::vector<Vec3> points;
        std::vector<int> steps;
        if (snub) {
            // r_V = s_a s_b, applied again and again: n turns bring p back.
            Vec3 q = p;
            for (long k = 0; k < sides; ++k) {
                points.push_back(q);
                steps.push_back(static_cast<int>(v));
                q = reflected(reflected(q, n[b]), n[a]);
            }
        } else {
            if (onMirror(a) && onMirror(b)) {
                continue;
            }
            if (!onMirror(a) && !onMirror(b) && halfTurns % 2 == 0) {
                continue;  // the 2n-gon traced as two n-gons together
            }
            // p, s_a p, s_a s_b p, ...: each word the last one times the next reflection on the
            // right, so that each side joins a point and its mirror image.
            Element word{{1, 0, 0, 0, 1, 0, 0, 0, 1}, true};
            const Element sa = reflection(n[a]);
            const Element sb = reflection(n[b]);
            for (long k = 0; k < 2 * sides; ++k) {
                points.push_back(apply(word, p));
                steps.push_back(static_cast<int>(k % 2 == 0 ? a : b));
                word = product(word, k % 2 == 0 ? sa : sb);
            }
        }
        std::vector<int> kept = cycleOf(points);
        if (kept.size() < 3) {
            continue;  // a point or an edge
        }
        std::vector<Vec3> corners;
        for (const int k : kept) {
            corners.push_back(points[static_cast<std::size_t>(k)]);
        }
        const int size = static_cast<int>(kept.size());
        const int turns = turnsAround(corners, t.vertices[v]);
        faces.push_back(
            {FaceType{size, turns, static_cast<int>(v)}, std::move(steps), std::move(kept)});
    }
    if (snub) {
        // p, r_A p, r_A r_B p.
        const Vec3 rA = reflected(reflected(p, n[2]), n[1]);
        const Vec3 rB = reflected(reflected(p, n[0]), n[2]);
        const Vec3 rArB = reflected(reflected(rB, n[2]), n[1]);
        std::vector<int> kept = cycleOf({p, rA, rArB});
        if (kept.size() == 3) {
            faces.push_back({FaceType{3, 1, 3}, {0, 1, 0}, std::move(kept)});
        }
    }
    return faces;
}

// The unit vector of three coordinates, or nothing when they are not all finite or all 0.
std::optional<Vec3> coordinates(std::string_view text) {
    std::array<double, 3> c{};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (std::size_t i = 0; i < 3; ++i) {
        while (at < end && isBlank(*at)) {
            ++at;
        }
        if (at < end && *at == '+') {
            ++at;
        }
        const auto [next, error] = std::from_chars(at, end, c[i]);
        if (error != std::errc() || !std::isfinite(c[i])) {
            return std::nullopt;
        }
        at = next;
        while (at < end && isBlank(*at)) {
            ++at;
        }
        if (i < 2) {
            if (at == end || *at != ',') {
                return std::nullopt;
            }
            ++at;
        }
    }
    const Vec3 v{c[0], c[1], c[2]};
    const double size = length(v);
    if (at != end || !(size > 0.0) || !std::isfinite(size)) {
        return std::nullopt;
    }
    return (1.0 / size) * v;
}

}  // namespace

WythoffSymbol parseWythoffSymbol(std::string_view text) {
    const auto fault = [&](const std::string& what) {
        refuse(FaultStage::code, "the Wythoff symbol " + quotedText(text) + " " + what + " " +
                                     std::string(wythoffForm));
    };
    const std::size_t bar = text.find('|');
    if (bar == std::string_view::npos) {
        fault("has no bar");
    }
    if (text.find('|', bar + 1) != std::string_view::npos) {
        fault("has a second bar");
    }
    const std::vector<std::string_view> before = notationWords(text.substr(0, bar));
    const std::vector<std::string_view> after = notationWords(text.substr(bar + 1));
    std::vector<std::string_view> all = before;
    all.insert(all.end(), after.begin(), after.end());
    const std::string numbers = joined(all);
    if (const std::optional<std::string> wrong = schwarzNumbersFault(numbers)) {
        fault(*wrong);
    }
    constexpr std::array<WythoffBar, 4> bars{WythoffBar::beforeAll, WythoffBar::afterFirst,
                                             WythoffBar::afterSecond, WythoffBar::afterAll};
    return {numbers, bars[before.size()]};
}

std::string wythoffText(const WythoffSymbol& symbol) {
    const std::vector<std::string_view> w = notationWords(symbol.triangle);
    switch (symbol.bar) {
        case WythoffBar::afterFirst:
            return std::string(w[0]) + " | " + std::string(w[1]) + " " + std::string(w[2]);
        case WythoffBar::afterSecond:
            return std::string(w[0]) + " " + std::string(w[1]) + " | " + std::string(w[2]);
        case WythoffBar::afterAll:
            return symbol.triangle + " |";
        case WythoffBar::beforeAll:
            break;
    }
    return "| " + symbol.triangle;
}

GeneratingPoint parseGeneratingPoint(std::string_view text) {
    const auto fault = [&]() -> GeneratingPoint {
        refuse(FaultStage::code, "the point " + quotedText(text) + " is not a point " +
                                     std::string(generatingPointForm));
    };
    if (text == "incentre") {
        return GeneratingPoint::incentre();
    }
    if (text.size() == 8 && text.substr(0, 7) == "vertex:" && text[7] >= 'A' && text[7] <= 'C') {
        return GeneratingPoint::vertex(text[7] - 'A');
    }
    if (text.size() == 6 && text.substr(0, 5) == "side:" && text[5] >= '1' && text[5] <= '3') {
        return GeneratingPoint::side(text[5] - '1');
    }
    if (text.substr(0, 5) == "snub:") {
        int n = 0;
        const char* end = text.data() + text.size();
        const auto [at, error] = std::from_chars(text.data() + 5, end, n);
        if (error != std::errc() || at != end || n < 1 || text[5] == '+') {
            return fault();
        }
        return GeneratingPoint::snub(n - 1);
    }
    if (const std::optional<Vec3> v = coordinates(text)) {
        return GeneratingPoint::given(*v);
    }
    return fault();
}

std::string generatingPointText(const GeneratingPoint& point) {
    switch (point.kind) {
        case PointKind::vertex:
            return std::string("vertex:") + static_cast<char>('A' + point.index);
        case PointKind::side:
            return "side:" + std::to_string(point.index + 1);
        case PointKind::incentre:
            return "incentre";
        case PointKind::snub:
            return "snub:" + std::to_string(point.index + 1);
        case PointKind::given:
            break;
    }
    const Vec3& d = point.direction;
    return formatNumber(d.x) + "," + formatNumber(d.y) + "," + formatNumber(d.z);
}

WythoffTriangle wythoffTriangle(const DrawRequest& request) {
    const TriangleFacts facts = triangleFacts(request);
    WythoffTriangle t;
    t.setup = prepareDrawing(request);
    t.vertices = triangleVertices(t.setup.normals);
    t.fractions = facts.fractions;
    t.group = facts.group;
    t.group.mirrors.clear();
    const std::string name = "(" + schwarzText(t.fractions) + ")";
    if (t.setup.geometry != Geometry::spherical) {
        refuse(FaultStage::triangle, "the triangle " + name +
                                         " has no polyhedron: it lies in the " +
                                         std::string(geometryName(t.setup.geometry)) +
                                         " plane, and polyhedra are built on the sphere");
    }
    if (t.group.kind == GroupKind::none) {
        refuse(FaultStage::triangle,
               "the triangle " + name + " has no polyhedron: " + groupSentence(t.group));
    }
    if (t.group.order > maxPolyhedronGroup) {
        refuse(FaultStage::triangle, "the triangle " + name +
                                         " has no polyhedron built: its group has " +
                                         t.group.order.get_str() + " elements, more than " +
                                         std::to_string(maxPolyhedronGroup));
    }
    return t;
}

Vec3 pointOf(const WythoffTriangle& t, const GeneratingPoint& point) {
    const Mirrors& n = t.setup.normals;
    const auto index = static_cast<std::size_t>(point.index);
    const bool inThree = point.index >= 0 && point.index < 3;
    switch (point.kind) {
        case PointKind::vertex:
            if (inThree) {
                return t.vertices[index];
            }
            break;
        case PointKind::side:
            if (inThree) {
                const Vec3 v = unit(cross(n[index], n[(index + 1) % 3] - n[(index + 2) % 3]));
                return dot(v, n[(index + 1) % 3]) < 0.0 ? -v : v;
            }
            break;
        case PointKind::incentre: {
            const Vec3 v = unit(cross(n[1], n[2]) + cross(n[2], n[0]) + cross(n[0], n[1]));
            return dot(v, n[0]) < 0.0 ? -v : v;
        }
        case PointKind::snub: {
            const std::vector<SnubPoint> points = findSnubPoints(n, t.setup.pi);
            if (point.index >= 0 && index < points.size()) {
                return points[index].point;
            }
            refuse(FaultStage::triangle, "the triangle (" + schwarzText(t.fractions) + ") has " +
                                             std::to_string(points.size()) + " snub point" +
                                             (points.size() == 1 ? "" : "s") + ", no point " +
                                             std::to_string(point.index + 1));
        }
        case PointKind::given:
            return unit(point.direction);
    }
    refuse(FaultStage::triangle, "the triangle has no point " + std::to_string(point.index + 1) +
                                     " of that kind: it has three vertices and three sides");
}

Polyhedron buildPolyhedron(const WythoffTriangle& t, const Vec3& p, bool snub) {
    const Group group = groupElements(t, snub);
    const std::vector<Element>& elements = group.elements;
    Polyhedron polyhedron;
    PointIndex vertices;
    vertices.reserve(elements.size());
    // The vertex each element takes p to.
    std::vector<int> image;
    image.reserve(elements.size());
    for (const Element& g : elements) {
        image.push_back(vertices.add(apply(g, p)));
    }
    polyhedron.vertices = vertices.points();
    std::vector<BaseFace> base = baseFaces(t, p, snub);
    // Faces are told by their sorted vertices.
    std::unordered_map<std::string, int> seen;
    std::vector<int> indexes;
    std::vector<int> sorted;
    std::string key;
    for (const BaseFace& face : base) {
        const int type = static_cast<int>(polyhedron.faceTypes.size());
        bool any = false;
        for (std::size_t g = 0; g < elements.size(); ++g) {
            // The face's walk from g: each word's element, the vertex it takes p to.
            indexes.clear();
            auto e = static_cast<int>(g);
            std::size_t next = 0;
            for (std::size_t k = 0; k < face.steps.size() && next < face.kept.size(); ++k) {
                if (face.kept[next] == static_cast<int>(k)) {
                    indexes.push_back(image[static_cast<std::size_t>(e)]);
                    ++next;
                }
                e = group
                        .next[static_cast<std::size_t>(e)][static_cast<std::size_t>(face.steps[k])];
            }
            sorted.assign(indexes.begin(), indexes.end());
            std::sort(sorted.begin(), sorted.end());
            key.assign(reinterpret_cast<const char*>(sorted.data()), sorted.size() * sizeof(int));
            if (seen.emplace(key, type).second) {
                polyhedron.faces.push_back({indexes, type});
                any = true;
            }
        }
        if (any) {
            polyhedron.faceTypes.push_back(face.type);
        }
    }
    std::vector<std::array<int, 2>>& edges = polyhedron.edges;
    for (const Face& f : polyhedron.faces) {
        for (std::size_t k = 0; k < f.vertices.size(); ++k) {
            const int a = f.vertices[k];
            const int b = f.vertices[(k + 1) % f.vertices.size()];
            edges.push_back({std::min(a, b), std::max(a, b)});
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return polyhedron;
}

Polyhedron buildPolyhedron(const WythoffTriangle& triangle, const GeneratingPoint& point) {
    return buildPolyhedron(triangle, pointOf(triangle, point), point.kind == PointKind::snub);
}

DrawRequest symbolTriangle(const WythoffSymbol& symbol) {
    DrawRequest request;
    request.triangleCode = symbol.triangle;
    request.notation = TriangleNotation::schwarz;
    return request;
}

GeneratingPoint symbolPoint(const WythoffTriangle& triangle, const WythoffSymbol& symbol) {
    switch (symbol.bar) {
        case WythoffBar::afterFirst:
            return GeneratingPoint::vertex(0);
        case WythoffBar::afterSecond:
            return GeneratingPoint::side(2);
        case WythoffBar::afterAll:
            return GeneratingPoint::incentre();
        case WythoffBar::beforeAll:
            break;
    }
    const std::vector<SnubPoint> points = findSnubPoints(triangle.setup.normals, triangle.setup.pi);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& d = points[i].dots;
        if (d[0] > 0.0 && d[1] > 0.0 && d[2] > 0.0) {
            return GeneratingPoint::snub(static_cast<int>(i));
        }
    }
    return GeneratingPoint::snub(0);
}

Polyhedron buildPolyhedron(const WythoffSymbol& symbol) {
    const WythoffTriangle triangle = wythoffTriangle(symbolTriangle(symbol));
    return buildPolyhedron(triangle, symbolPoint(triangle, symbol));
}

}  // namespace vantu
