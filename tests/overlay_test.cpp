// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Overlays over the exact picture: their pixels lie on the projected great circles, arcs and
// rings, every other pixel keeps its colour, and with every overlay off the picture is the plain
// one.
#include "render/overlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <ostream>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

#include "drawing/picture_overlay.h"
#include "drawing/prepared_picture.h"
#include "geometry/draw_error.h"
#include "geometry/projection.h"
#include "geometry/raster.h"
#include "geometry/view.h"
#include "polyhedron/wythoff.h"
#include "tests/picture_support.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

constexpr PackedColour ink = packColour(200, 30, 40);  // no colour of a picture

// Points of a curve in output pixels, bucketed by pixel, for the distance from any pixel to the
// curve to within the spacing of the points.
class CurvePoints {
public:
    void add(const Overlay& overlay, const Vec3& p) {
        const OverlayFrame& f = overlay.frame();
        if (const auto at = planePosition(p, f.scale, f.projection, f.size, f.geometry)) {
            const double x = (at->col + 0.5) * f.ratio - 0.5;
            const double y = (at->row + 0.5) * f.ratio - 0.5;
            if (x > -10 && y > -10 && x < overlay.width() + 10 && y < overlay.height() + 10) {
                m_cells[keyOf(std::lround(x), std::lround(y))].push_back({x, y});
            }
        }
    }
    // The distance from (x, y) to the nearest point, if one lies within `reach` pixels.
    [[nodiscard]] double distance(int x, int y, int reach) const {
        double nearest = 1e9;
        for (int dx = -reach; dx <= reach; ++dx) {
            for (int dy = -reach; dy <= reach; ++dy) {
                const auto it = m_cells.find(keyOf(x + dx, y + dy));
                if (it == m_cells.end()) {
                    continue;
                }
                for (const auto& [px, py] : it->second) {
                    nearest = std::min(nearest, std::hypot(px - x, py - y));
                }
            }
        }
        return nearest;
    }
    // f(x, y, px, py) for each point (px, py) and each pixel (x, y) within `reach` of it.
    template <class F>
    void forEachPixelNear(double reach, F&& f) const {
        for (const auto& [key, points] : m_cells) {
            for (const auto& [px, py] : points) {
                const int left = static_cast<int>(std::ceil(px - reach));
                const int top = static_cast<int>(std::ceil(py - reach));
                for (int x = left; x <= px + reach; ++x) {
                    for (int y = top; y <= py + reach; ++y) {
                        if (std::hypot(x - px, y - py) <= reach) {
                            f(x, y);
                        }
                    }
                }
            }
        }
    }

private:
    static long long keyOf(long x, long y) { return (x + 100000) * 1000000 + (y + 100000); }
    std::unordered_map<long long, std::vector<std::pair<double, double>>> m_cells;
};

// The points of the great circle of `normal`, or of its arc from `from` through `angle` radians.
CurvePoints circlePoints(const Overlay& overlay, const Vec3& from, const Vec3& towards,
                         double angle) {
    CurvePoints points;
    const int count = 100000;
    for (int i = 0; i <= count; ++i) {
        const double t = angle * i / count;
        points.add(overlay, std::cos(t) * from + std::sin(t) * towards);
    }
    return points;
}

// Paints `overlay`, one line of `stroke` in ink, over grey: the pixels it changes lie within its
// reach of `points`, each pixel the curve crosses is changed, and those well inside the line are
// its colour exactly.
void expectLineAlong(const Overlay& overlay, const CurvePoints& points, const Stroke& stroke) {
    ASSERT_FALSE(overlay.empty());
    const int w = overlay.width();
    std::vector<PackedColour> pixels(
        static_cast<std::size_t>(w) * static_cast<std::size_t>(overlay.height()), grey);
    overlay.paint(pixels);
    const auto at = [&](int x, int y) {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                      static_cast<std::size_t>(x)];
    };
    const double halfWidth = 0.5 * stroke.width * overlay.frame().ratio;
    const auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < overlay.height();
    };
    for (int y = 0; y < overlay.height(); ++y) {
        for (int x = 0; x < w; ++x) {
            if (at(x, y) != grey) {
                ASSERT_LE(points.distance(x, y, static_cast<int>(halfWidth) + 2), halfWidth + 0.65)
                    << x << ", " << y;
            }
        }
    }
    int crossed = 0;
    points.forEachPixelNear(0.7, [&](int x, int y) {
        crossed += inside(x, y) ? 1 : 0;
        EXPECT_TRUE(!inside(x, y) || at(x, y) != grey) << x << ", " << y;
    });
    points.forEachPixelNear(halfWidth - 0.6, [&](int x, int y) {
        EXPECT_TRUE(!inside(x, y) || at(x, y) == ink) << x << ", " << y;
    });
    EXPECT_GT(crossed, 100);
}

struct FrameCase {
    const char* name;
    OverlayFrame frame;
    Vec3 normal;
    double arc = 2 * std::numbers::pi;  // below pi: an arc of the circle
    friend void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }
};

class GreatCircle : public testing::TestWithParam<FrameCase> {};

// A circle (or an arc) of width 2 over a grey picture: the pixels it changes lie within its reach
// of the projected curve, each pixel that the curve crosses is changed, and those well inside the
// line are the line's colour exactly.
TEST_P(GreatCircle, PaintsOnlyThePixelsOnItsProjection) {
    const FrameCase& c = GetParam();
    Overlay overlay(c.frame);
    const Stroke stroke{ink, 2.0, 1.0};
    // The curve runs from u, half of it either side of the circle's point nearest the centre.
    const Vec3 n = unit(c.normal);
    const Vec3 nearest = unit(Vec3{0.0, 0.0, 1.0} - n.z * n);
    const Vec3 u = std::cos(c.arc / 2) * nearest - std::sin(c.arc / 2) * cross(n, nearest);
    if (c.arc < 2 * std::numbers::pi) {
        overlay.addArc(u, std::cos(c.arc) * u + std::sin(c.arc) * cross(n, u), stroke);
    } else {
        overlay.addGreatCircle(c.normal, stroke);
    }
    expectLineAlong(overlay, circlePoints(overlay, u, cross(n, u), c.arc), stroke);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, GreatCircle,
    testing::Values(
        FrameCase{"StereoWindow", {120.0, Projection::stereographic, {}, 1.0}, {0.3, -0.8, 0.5}},
        FrameCase{"StereoThroughTheHiddenPoint",
                  {120.0, Projection::stereographic, {}, 1.0},
                  {1.0, 0.0, 0.0}},
        FrameCase{"GnomonicZoomed", {60.0, Projection::gnomonic, {200, 150}, 2.0}, {0.2, 0.9, 0.4}},
        FrameCase{
            "GnomonicLongLine", {60.0, Projection::gnomonic, {201, 151}, 1.0}, {0.05, 0.95, 0.3}},
        FrameCase{
            "OrthoOnAScreen", {90.0, Projection::orthographic, {301, 200}, 1.5}, {-0.6, 0.1, 0.3}},
        FrameCase{"OrthoAlmostEdgeOn",
                  {90.0, Projection::orthographic, {401, 401}, 1.0},
                  {0.999, 0.0, 0.02}},
        FrameCase{"StereoArc", {120.0, Projection::stereographic, {}, 1.0}, {0.3, -0.8, 0.5}, 2.0},
        FrameCase{
            "GnomonicArc", {60.0, Projection::gnomonic, {200, 150}, 2.0}, {0.2, 0.9, 0.4}, 2.5}),
    RowName());

// A mirror (or a segment of it) of a plane, painted as a circle is above. The points it should
// lie on come from the line <N, P> = 0 itself: in the hyperbolic plane the chord of the Klein
// disk (x, y, 1), Nx x + Ny y = Nz, in the Euclidean plane the line a x + b y + c = 0.
struct GeodesicCase {
    const char* name;
    OverlayFrame frame;
    Vec3 normal;
    std::array<double, 2> segment{-1.0, 1.0};  // the part drawn, -1 to 1 along the whole line
    bool asPart = false;  // drawn as a CurvePart, as the group's mirrors are, not a segment
    friend void PrintTo(const GeodesicCase& c, std::ostream* os) { *os << c.name; }
};

class Geodesic : public testing::TestWithParam<GeodesicCase> {};

TEST_P(Geodesic, PaintsOnlyThePixelsWhereItsModelPutsIt) {
    const GeodesicCase& c = GetParam();
    const bool hyperbolic = c.frame.geometry == Geometry::hyperbolic;
    const Vec3 n = c.normal;
    const double planar = std::hypot(n.x, n.y);
    // The line's point nearest the origin and its direction; in the Klein disk its half-length.
    const double offset = (hyperbolic ? n.z : -n.z) / planar;
    const std::array<double, 2> m{offset * n.x / planar, offset * n.y / planar};
    const std::array<double, 2> d{-n.y / planar, n.x / planar};
    const double half = hyperbolic ? std::sqrt(1.0 - offset * offset) : 10.0;
    // s from -1 to 1 along the line, finely near the disk's edge.
    const auto pointAt = [&](double s) {
        const double along = half * (hyperbolic ? std::sin(0.5 * std::numbers::pi * s) : s * s * s);
        return Vec3{m[0] + along * d[0], m[1] + along * d[1], 1.0};
    };
    Overlay overlay(c.frame);
    const Stroke stroke{ink, 2.0, 1.0};
    if (c.asPart) {
        const GeodesicCurve curve = geodesicOf(n, c.frame.geometry);
        const double from =
            std::atan(geodesicTangent(curve, pointAt(c.segment[0]), c.frame.geometry));
        const double to =
            std::atan(geodesicTangent(curve, pointAt(c.segment[1]), c.frame.geometry));
        const std::array<CurvePart, 1> part{{{curve, std::min(from, to), std::max(from, to)}}};
        overlay.addCurveParts(part, stroke);
    } else if (c.segment[0] == -1.0 && c.segment[1] == 1.0) {
        overlay.addMirror(n, stroke);
    } else {
        overlay.addSegment(pointAt(c.segment[0]), pointAt(c.segment[1]), stroke);
    }
    CurvePoints points;
    const int count = 200000;
    for (int i = 1; i < count; ++i) {
        const double s = -1.0 + 2.0 * i / count;
        if (s >= c.segment[0] && s <= c.segment[1]) {
            points.add(overlay, pointAt(s));
        }
    }
    expectLineAlong(overlay, points, stroke);
}

INSTANTIATE_TEST_SUITE_P(
    Planes, Geodesic,
    testing::Values(
        // Any normal with <N, N> > 0 and |Nz| < |(Nx, Ny)| meets the disk.
        GeodesicCase{"PoincareArc",
                     {120.0, Projection::stereographic, {}, 1.0, Geometry::hyperbolic},
                     {0.6, 1.0, 0.6}},
        GeodesicCase{"KleinChord",
                     {150.0, Projection::gnomonic, {401, 401}, 1.0, Geometry::hyperbolic},
                     {1.2, -0.9, 0.75}},
        GeodesicCase{"GansHyperbola",
                     {60.0, Projection::orthographic, {}, 1.0, Geometry::hyperbolic},
                     {1.0, 0.5, 0.5}},
        GeodesicCase{"HalfPlaneSemicircle",
                     {120.0, Projection::halfplane, {}, 1.0, Geometry::hyperbolic},
                     {0.6, 1.0, 0.6}},
        GeodesicCase{"HalfPlaneVerticalLine",
                     {120.0, Projection::halfplane, {}, 2.0, Geometry::hyperbolic},
                     {1.0, 0.0, 0.0}},
        GeodesicCase{"PoincareSegment",
                     {120.0, Projection::stereographic, {}, 1.0, Geometry::hyperbolic},
                     {0.6, 1.0, 0.6},
                     {-0.7, 0.4}},
        // A part as a circle's arc from three of its points, short and long, and near the
        // disk's edge, where the circle is small; and as the refined curve in the models whose
        // geodesics are no circles.
        GeodesicCase{"PoincarePart",
                     {120.0, Projection::stereographic, {}, 1.0, Geometry::hyperbolic},
                     {0.6, 1.0, 0.6},
                     {-0.7, 0.4},
                     true},
        GeodesicCase{"PoincareWholePart",
                     {120.0, Projection::stereographic, {}, 2.0, Geometry::hyperbolic},
                     {-1.0, 0.3, 0.2},
                     {-0.999, 0.999},
                     true},
        GeodesicCase{"PoincarePartNearTheEdge",
                     {200.0, Projection::stereographic, {801, 801}, 1.0, Geometry::hyperbolic},
                     {3.0, 2.0, 3.5},
                     {-0.9, 0.9},
                     true},
        GeodesicCase{"HalfPlanePart",
                     {120.0, Projection::halfplane, {}, 1.0, Geometry::hyperbolic},
                     {0.6, 1.0, 0.6},
                     {-0.95, 0.6},
                     true},
        GeodesicCase{"GansPart",
                     {60.0, Projection::orthographic, {}, 1.0, Geometry::hyperbolic},
                     {1.0, 0.5, 0.5},
                     {-0.8, 0.8},
                     true},
        GeodesicCase{"EuclideanPart",
                     {80.0, Projection::stereographic, {}, 1.0, Geometry::euclidean},
                     {0.6, 0.8, -0.5},
                     {-0.5, 0.7},
                     true},
        GeodesicCase{"EuclideanLine",
                     {80.0, Projection::stereographic, {}, 1.0, Geometry::euclidean},
                     {0.6, 0.8, -0.5}},
        GeodesicCase{"EuclideanSegment",
                     {80.0, Projection::gnomonic, {300, 200}, 2.0, Geometry::euclidean},
                     {-0.8, 0.6, 0.25},
                     {-0.5, 0.5}}),
    RowName());

TEST(Overlay, BlendsByCoverageAndOpacity) {
    Overlay overlay({120.0, Projection::stereographic, {64, 8}, 1.0});
    // The great circle of the plane y = 0 is the picture's horizontal centre line, between rows
    // 4 and 5 (window row 4.5 is y = 0): a line 1 pixel wide covers each by half.
    overlay.addGreatCircle({0.0, 1.0, 0.0}, {packColour(255, 255, 255), 1.0, 0.5});
    std::vector<PackedColour> pixels(64 * 8, packColour(0, 100, 200));
    overlay.paint(pixels);
    EXPECT_EQ(pixels[3 * 64 + 10], packColour(0, 100, 200));
    EXPECT_EQ(pixels[4 * 64 + 10], packColour(64, 139, 214));  // a = 0.25
    EXPECT_EQ(pixels[5 * 64 + 10], packColour(64, 139, 214));
    EXPECT_EQ(pixels[6 * 64 + 10], packColour(0, 100, 200));
}

// A line just beyond an edge of the picture still covers that edge's pixels in part. In the
// gnomonic projection the great circles of the planes x = k z and y = k z are straight lines:
// here 2 pixels wide, their middles 1.2 pixels beyond the left, right, top and bottom edge, so
// each covers its edge's pixels by 0.3 and no pixel further in.
TEST(Overlay, PaintsTheEdgeUnderALineJustBeyondIt) {
    const int width = 60;
    const int height = 40;
    const double R = 100.0;
    const double cx = columnCentreOf(width);
    const double cy = rowCentreOf(height);
    const PackedColour background = packColour(0, 100, 200);
    const struct {
        const char* name;
        Vec3 normal;
        bool column;  // a column, else a row
        int edge;
        int inward;  // the next one in
    } lines[] = {
        {"left", {1.0, 0.0, (cx + 1.2) / R}, true, 0, 1},
        {"right", {1.0, 0.0, (cx - (width - 1 + 1.2)) / R}, true, width - 1, width - 2},
        {"top", {0.0, 1.0, -(cy + 1.2) / R}, false, 0, 1},
        {"bottom", {0.0, 1.0, (height - 1 + 1.2 - cy) / R}, false, height - 1, height - 2},
    };
    for (const auto& line : lines) {
        Overlay overlay({R, Projection::gnomonic, {width, height}, 1.0});
        overlay.addGreatCircle(line.normal, {ink, 2.0, 1.0});
        std::vector<PackedColour> pixels(static_cast<std::size_t>(width * height), background);
        overlay.paint(pixels);
        const auto at = [&](int along, int across) {
            const int x = line.column ? across : along;
            const int y = line.column ? along : across;
            return pixels[static_cast<std::size_t>(y * width + x)];
        };
        for (int along = 0; along < (line.column ? height : width); ++along) {
            EXPECT_NE(at(along, line.edge), background) << line.name << " " << along;
            EXPECT_EQ(at(along, line.inward), background) << line.name << " " << along;
        }
    }
}

TEST(Overlay, PaintsRowsOfItsPictureOnly) {
    Overlay overlay({120.0, Projection::stereographic, {10, 10}, 3.0});
    EXPECT_EQ(overlay.width(), 30);
    EXPECT_EQ(overlay.height(), 30);
    std::vector<PackedColour> row(30);
    EXPECT_THROW(overlay.paintRow(30, row), std::out_of_range);
    EXPECT_THROW(overlay.paintRow(-1, row), std::out_of_range);
    EXPECT_THROW(overlay.paintRow(0, std::span(row).first(29)), std::out_of_range);
    EXPECT_THROW(overlay.paint(row), std::out_of_range);
    EXPECT_THROW(Overlay({120.0, Projection::stereographic, {0, 10}, 1.0}), std::invalid_argument);
    EXPECT_THROW(Overlay({120.0, Projection::stereographic, {10, 10}, 0.0}), std::invalid_argument);
    // R = 0 shows nothing, the orthographic picture not the far side: nothing is drawn.
    Overlay nowhere({0.0, Projection::stereographic, {10, 10}, 1.0});
    nowhere.addGreatCircle({0.0, 1.0, 0.0}, {});
    Overlay front({120.0, Projection::orthographic, {10, 10}, 1.0});
    front.addRing({0.0, 0.0, -1.0}, 7.0, {});
    EXPECT_TRUE(nowhere.empty());
    EXPECT_TRUE(front.empty());
}

PictureDescription described(const char* code, View view, Projection projection, double ratio) {
    PictureDescription d;
    d.request.triangleCode = code;
    d.request.projection = projection;
    d.view = view;
    d.sampling = {ratio, 1};
    d.size = {320, 240};
    return d;
}

// The overlays `options` asks for (at least one) over the picture `d` describes.
PictureOverlay overlayOf(const PictureDescription& d, const OverlayOptions& options) {
    return *PreparedPicture(d, options).overlay();
}

std::vector<PackedColour> plainPicture(const PictureDescription& d) {
    const PreparedPicture picture(d);
    std::vector<PackedColour> pixels(static_cast<std::size_t>(picture.width()) *
                                     static_cast<std::size_t>(picture.height()));
    for (int y = 0; y < picture.height(); ++y) {
        (void)picture.renderRow(
            y, std::span(pixels).subspan(
                   static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width()),
                   static_cast<std::size_t>(picture.width())));
    }
    return pixels;
}

TEST(PictureOverlay, WithEveryOverlayOffIsThePlainPicture) {
    const PictureDescription d =
        described("403 2/1:3/2:4/3", {20.0, -10.0, 5.0}, Projection::stereographic, 2.0);
    const PreparedPicture none(d, {});
    EXPECT_EQ(none.overlay(), nullptr);
    const std::vector<PackedColour> plain = plainPicture(d);
    std::vector<PackedColour> painted = plain;
    const auto width = static_cast<std::size_t>(none.width());
    for (int y = 0; y < none.height(); ++y) {
        none.paintMarks(y, std::span(painted).subspan(static_cast<std::size_t>(y) * width, width));
    }
    EXPECT_EQ(painted, plain);
}

// The three mirrors where the view turns them: every pixel the overlay changes lies on one of
// them, and each mirror's label goes on its line.
TEST(PictureOverlay, DrawsTheMirrorsWhereTheViewPutsThem) {
    for (const Projection projection :
         {Projection::stereographic, Projection::gnomonic, Projection::orthographic}) {
        const PictureDescription d =
            described("300 2/1:3/1:3/1", {30.0, 15.0, -20.0}, projection, 1.0);
        OverlayOptions options;
        options.mirrors = true;
        const PictureOverlay o = overlayOf(d, options);
        const Mirrors n = PreparedPicture(d).setup().normals;
        std::vector<CurvePoints> circles;
        for (const Vec3& normal : n) {
            const Vec3 u = unit(cross(normal, Vec3{0.3, 0.5, 0.7}));
            circles.push_back(circlePoints(o.overlay, u, cross(normal, u), 2 * std::numbers::pi));
        }
        const std::vector<PackedColour> plain = plainPicture(d);
        std::vector<PackedColour> painted = plain;
        o.overlay.paint(painted);
        const int w = o.overlay.width();
        for (int y = 0; y < o.overlay.height(); ++y) {
            for (int x = 0; x < w; ++x) {
                const std::size_t i = static_cast<std::size_t>(y * w + x);
                if (painted[i] == plain[i]) {
                    continue;
                }
                double d0 = 1e9;
                for (const CurvePoints& c : circles) {
                    d0 = std::min(d0, c.distance(x, y, 4));
                }
                ASSERT_LE(d0, 2.65) << projectionName(projection) << " " << x << ", " << y;
            }
        }
        for (std::size_t i = 0; i < 3; ++i) {
            if (const auto at = o.anchors.mirrors[i]) {
                EXPECT_LE(circles[i].distance(static_cast<int>(std::lround(at->x)),
                                              static_cast<int>(std::lround(at->y)), 2),
                          0.8);
            }
        }
    }
}

TEST(PictureOverlay, FindsTheGroupsMirrorsAndTheSnubPoints) {
    const PictureDescription d =
        described("400 2/1:3/1:4/1", {-25.0, 10.0, 40.0}, Projection::stereographic, 1.0);
    OverlayOptions options;
    options.groupMirrors = true;
    options.snubPoints = true;
    options.triangle = true;
    const PictureOverlay o = overlayOf(d, options);
    EXPECT_EQ(o.group.kind, GroupKind::octahedral);
    EXPECT_EQ(o.group.mirrors.size(), 9U);
    // Numbered as --snub numbers them, whatever the view; marked where the view puts them.
    const DrawSetup plain = prepareDrawing(d.request);
    const std::vector<SnubPoint> listed = findSnubPoints(plain.normals, plain.pi);
    ASSERT_EQ(o.snubPoints.size(), listed.size());
    ASSERT_EQ(o.anchors.snubPoints.size(), listed.size());
    const DrawSetup view = PreparedPicture(d).setup();
    for (std::size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(o.snubPoints[i].point, listed[i].point);
        const auto at = o.anchors.snubPoints[i];
        if (!at) {
            continue;
        }
        double nearest = 1e9;
        for (const SnubPoint& s : findSnubPoints(view.normals, view.pi)) {
            for (const Vec3& p : {s.point, -s.point}) {
                if (const auto q = o.overlay.outputPoint(p)) {
                    nearest = std::min(nearest, std::hypot(q->x - at->x, q->y - at->y));
                }
            }
        }
        EXPECT_LT(nearest, 1e-6) << "point " << i + 1;
    }
    // The snub cube's generating point lies inside the triangle, first in the list.
    EXPECT_EQ(o.generatingPoint, 0);
    for (const auto& vertex : o.anchors.vertices) {
        EXPECT_TRUE(vertex.has_value());
    }
    // No ring where the hues meet at no definite point.
    PictureDescription flat = d;
    flat.request.triangleCode = "000 2/2:3/1:3/1";
    OverlayOptions snub;
    snub.snubPoints = true;
    const PictureOverlay none = overlayOf(flat, snub);
    EXPECT_TRUE(none.snubPoints.empty());
    EXPECT_TRUE(none.overlay.empty());
    // No group's lines for angles within 1e-10 of the tetrahedral (2 3 3), which generate no
    // finite group, nor for a group with more mirrors than are listed.
    OverlayOptions group;
    group.groupMirrors = true;
    for (const char* text : {"2 3 30000000001/10000000000", "2 2 10000"}) {
        PictureDescription near = d;
        near.request.triangleCode = text;
        near.request.notation = TriangleNotation::schwarz;
        const PictureOverlay lines = overlayOf(near, group);
        EXPECT_TRUE(lines.group.mirrors.empty()) << text;
        EXPECT_TRUE(lines.overlay.empty()) << text;
    }
}

struct PolyhedronMarkCase {
    const char* name;
    const char* triangle;  // in the usual notation
    GeneratingPoint point;
    View view;
    Projection projection;
    double ratio;
    friend void PrintTo(const PolyhedronMarkCase& c, std::ostream* os) { *os << c.name; }
};

class PolyhedronMark : public testing::TestWithParam<PolyhedronMarkCase> {};

// The polyhedron's edges as great arcs between its vertices where the view turns them: every
// pixel the mark changes lies on an arc, the middle of every arc the picture shows is changed,
// and the other marks are drawn as they are without it.
TEST_P(PolyhedronMark, DrawsEachEdgeAsTheArcBetweenItsVertices) {
    const PolyhedronMarkCase& c = GetParam();
    PictureDescription d = described(c.triangle, c.view, c.projection, c.ratio);
    d.request.notation = TriangleNotation::schwarz;
    OverlayOptions options;
    options.polyhedron = true;
    options.generatingPoint = c.point;
    const PictureOverlay o = overlayOf(d, options);

    const DrawSetup plain = prepareDrawing(d.request);
    const Polyhedron polyhedron = buildPolyhedron(wythoffTriangle(d.request), c.point);
    ASSERT_FALSE(polyhedron.edges.empty());
    std::vector<Vec3> vertices;
    for (std::size_t first = 0; first < polyhedron.vertices.size(); first += 3) {
        Mirrors three{};
        for (std::size_t k = first; k < first + 3 && k < polyhedron.vertices.size(); ++k) {
            three[k - first] = polyhedron.vertices[k];
        }
        three = turned(three, d.view, plain.pi);
        for (std::size_t k = first; k < first + 3 && k < polyhedron.vertices.size(); ++k) {
            vertices.push_back(three[k - first]);
        }
    }
    CurvePoints arcs;
    std::vector<Vec3> middles;
    for (const auto& [a, b] : polyhedron.edges) {
        const Vec3& u = vertices[static_cast<std::size_t>(a)];
        const Vec3& w = vertices[static_cast<std::size_t>(b)];
        const double angle = std::acos(std::clamp(dot(u, w), -1.0, 1.0));
        const Vec3 towards = unit(w - dot(u, w) * u);
        for (int i = 0; i <= 2000; ++i) {
            const double t = angle * i / 2000;
            arcs.add(o.overlay, std::cos(t) * u + std::sin(t) * towards);
        }
        middles.push_back(unit(u + w));
    }

    const std::vector<PackedColour> picture = plainPicture(d);
    std::vector<PackedColour> painted = picture;
    o.overlay.paint(painted);
    const int w = o.overlay.width();
    const double reach = 0.5 * OverlayStyle{}.edgeCasing.width * c.ratio + 0.65;
    int changed = 0;
    for (int y = 0; y < o.overlay.height(); ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * w + x);
            if (painted[i] != picture[i]) {
                ++changed;
                ASSERT_LE(arcs.distance(x, y, static_cast<int>(reach) + 1), reach)
                    << x << ", " << y;
            }
        }
    }
    EXPECT_GT(changed, 200);
    int shown = 0;
    for (const Vec3& middle : middles) {
        const auto at = o.overlay.outputPoint(middle);
        if (!at || at->x < 1 || at->y < 1 || at->x > w - 2 || at->y > o.overlay.height() - 2) {
            continue;
        }
        ++shown;
        const std::size_t i = static_cast<std::size_t>(std::lround(at->y) * w + std::lround(at->x));
        EXPECT_NE(painted[i], picture[i]) << at->x << ", " << at->y;
    }
    EXPECT_GT(shown, 0);
}

INSTANTIATE_TEST_SUITE_P(Polyhedra, PolyhedronMark,
                         testing::Values(PolyhedronMarkCase{"TruncatedIcosidodecahedron",
                                                            "2 3 5",
                                                            GeneratingPoint::incentre(),
                                                            {20.0, -15.0, 0.0},
                                                            Projection::stereographic,
                                                            1.0},
                                         PolyhedronMarkCase{"GreatIcosahedronZoomed",
                                                            "5/2 3 3",
                                                            GeneratingPoint::side(2),
                                                            {0.0, 0.0, 0.0},
                                                            Projection::gnomonic,
                                                            2.0},
                                         PolyhedronMarkCase{"SnubCubeOnAScreen",
                                                            "2 3 4",
                                                            GeneratingPoint::snub(0),
                                                            {-30.0, 10.0, 40.0},
                                                            Projection::orthographic,
                                                            1.5},
                                         PolyhedronMarkCase{"GivenPoint",
                                                            "2 3 3",
                                                            GeneratingPoint::given({0.2, 0.3, 1.0}),
                                                            {0.0, 30.0, 0.0},
                                                            Projection::stereographic,
                                                            1.0}),
                         RowName());

// Marks asked for another point are found again, not reused from the picture redescribed.
TEST(PolyhedronMarks, FollowTheirPoint) {
    PictureDescription d = described("2 3 5", {}, Projection::stereographic, 1.0);
    d.request.notation = TriangleNotation::schwarz;
    OverlayOptions options;
    options.polyhedron = true;
    const PreparedPicture incentre(d, options);
    options.generatingPoint = GeneratingPoint::vertex(0);
    const PreparedPicture vertex = incentre.redescribed(d, options);
    EXPECT_EQ(incentre.marks().polyhedron.vertices.size(), 120U);
    EXPECT_EQ(vertex.marks().polyhedron.vertices.size(), 30U);
}

// Rings go only around points the picture shows, at the zoom of the picture.
TEST(SnubRings, RingEachShownPointAndNothingElse) {
    for (const double zoom : {1.0, 3.0}) {
        DrawRequest request;
        const DrawSetup setup = prepareDrawing(request);
        const std::vector<SnubPoint> points = findSnubPoints(setup.normals, setup.pi);
        const FinePicture picture(120.0, setup.pi, Projection::stereographic, setup.normals,
                                  {zoom, 1});
        Overlay marks({120.0, Projection::stereographic, {}, zoom});
        addSnubRings(marks, points);

        std::vector<std::array<double, 2>> centres;  // in output pixels
        for (const SnubPoint& s : points) {
            for (const Vec3& p : {s.point, Vec3{-s.point.x, -s.point.y, -s.point.z}}) {
                if (const auto at = picturePosition(p, 120.0, Projection::stereographic)) {
                    centres.push_back({(at->col + 0.5) * zoom - 0.5, (at->row + 0.5) * zoom - 0.5});
                }
            }
        }
        ASSERT_EQ(centres.size(), 6U);  // four points and two antipodes
        int black = 0;
        std::vector<PackedColour> plain(static_cast<std::size_t>(picture.width()));
        std::vector<PackedColour> marked(plain.size());
        for (int y = 0; y < picture.height(); ++y) {
            picture.renderRow(y, plain);
            marked = plain;
            marks.paintRow(y, marked);
            for (int x = 0; x < picture.width(); ++x) {
                const auto i = static_cast<std::size_t>(x);
                double nearest = 1e9;
                for (const auto& c : centres) {
                    nearest = std::min(nearest, std::hypot(x - c[0], y - c[1]));
                }
                if (nearest > 9.0 * zoom + 1.0) {
                    ASSERT_EQ(marked[i], plain[i]) << x << ", " << y;
                }
                if (marked[i] == packColour(0, 0, 0)) {
                    ++black;
                    EXPECT_NEAR(nearest, 7.0 * zoom, 1.0 * zoom + 1e-9) << x << ", " << y;
                }
            }
        }
        // About the area of six black bands around radius 7 * zoom, 2 * zoom wide with their
        // antialiased edges, 2 * zoom - 1 without them.
        const double band = 6 * 2.0 * std::numbers::pi * 7.0 * zoom * (2.0 * zoom - 1.0);
        EXPECT_GT(black, 0.8 * band);
        EXPECT_LT(black, 1.2 * band);
    }
}

struct PlaneGroupCase {
    const char* name;
    const char* triangle;  // in the usual notation
    Projection projection;
    double scale;
    View view;
    // How far from the centre, in output pixels, lines must reach in every direction: the
    // disk's edge less a few pixels, or the picture's half-width; 0 for a group with no lines.
    double reach;
    friend void PrintTo(const PlaneGroupCase& c, std::ostream* os) { *os << c.name; }
};

class PlaneGroupMirrors : public testing::TestWithParam<PlaneGroupCase> {};

// The mirrors of a plane's discrete group show the tiling out to the disk's edge or across the
// picture: along every ray from the centre a line lies near the reach, and none beyond the
// disk. A group that is not discrete, or undecided, has no lines, as a dense one of the sphere.
TEST_P(PlaneGroupMirrors, ReachTheEdgeOfThePicture) {
    const PlaneGroupCase& c = GetParam();
    PictureDescription d;
    d.request = testing_support::schwarzRequest(c.triangle).projection(c.projection).scale(c.scale);
    d.view = c.view;
    d.size = {301, 301};
    OverlayOptions options;
    options.groupMirrors = true;
    const PreparedPicture picture(d, options);
    const Overlay& overlay = picture.overlay()->overlay;
    if (c.reach == 0.0) {
        EXPECT_TRUE(overlay.empty());
        return;
    }
    std::vector<PackedColour> pixels(301 * 301, grey);
    overlay.paint(pixels);
    const auto changed = [&](double x, double y) {
        const long col = std::lround(x);
        const long row = std::lround(y);
        return col >= 0 && row >= 0 && col < 301 && row < 301 &&
               pixels[static_cast<std::size_t>(row * 301 + col)] != grey;
    };
    const double centre = 150.0;
    const bool disk = c.projection == Projection::stereographic && c.reach < centre;
    for (int k = 0; k < 36; ++k) {
        const double a = 2.0 * std::numbers::pi * (k + 0.5) / 36.0;
        // A line crosses the ray within the last 8 pixels before the reach...
        bool crossed = false;
        for (double r = c.reach - 8.0; r <= c.reach; r += 0.25) {
            crossed = crossed || changed(centre + r * std::cos(a), centre + r * std::sin(a));
        }
        EXPECT_TRUE(crossed) << "ray " << k;
        // ... and, in the Poincare disk, none beyond its edge.
        for (double r = 2.0 * c.scale + 2.0; disk && r < 150.0; r += 0.5) {
            EXPECT_FALSE(changed(centre + r * std::cos(a), centre + r * std::sin(a)))
                << "ray " << k << " at " << r;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Planes, PlaneGroupMirrors,
    testing::Values(
        // The disk's edge 2R = 140 pixels from the centre.
        PlaneGroupCase{"Heptagonal", "2 3 7", Projection::stereographic, 70.0, {}, 139.0},
        PlaneGroupCase{
            "HeptagonalMoved", "2 3 7", Projection::stereographic, 70.0, {40, -25, 10}, 139.0},
        PlaneGroupCase{"Fractional", "5/2 4 4", Projection::stereographic, 70.0, {}, 139.0},
        PlaneGroupCase{"KleinOctagonal", "2 3 8", Projection::gnomonic, 140.0, {}, 139.0},
        PlaneGroupCase{
            "EuclideanSquare", "2 4 4", Projection::stereographic, 10.0, {10, 5, 0}, 150.0},
        PlaneGroupCase{"EuclideanDoubled", "3/2 6 6", Projection::gnomonic, 10.0, {}, 150.0},
        PlaneGroupCase{"EuclideanDense", "2 5 10/3", Projection::stereographic, 40.0, {}, 0.0},
        PlaneGroupCase{"Undecided", "7/3 7 7", Projection::stereographic, 70.0, {}, 0.0}),
    RowName());

}  // namespace
}  // namespace vantu
