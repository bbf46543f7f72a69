// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Wythoff symbols and generating points as the user writes them, the triangle's own points, the
// points that give no polyhedron, the facts' lines, and the dual.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geometry/draw_error.h"
#include "polyhedron/dual.h"
#include "polyhedron/polyhedron_facts.h"
#include "polyhedron/wythoff.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

const std::string form(wythoffForm);
const std::string pointForm(generatingPointForm);

struct BadText {
    const char* name;
    const char* text;
    std::string message;
};

class BadWythoffSymbol : public testing::TestWithParam<BadText> {};

TEST_P(BadWythoffSymbol, IsRefusedWithTheFourForms) {
    EXPECT_THROW_MSG((void)parseWythoffSymbol(GetParam().text), DrawError, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Symbols, BadWythoffSymbol,
    testing::Values(
        BadText{"empty", "", "the Wythoff symbol \"\" has no bar " + form},
        BadText{"no_bar", "3 2 5", "the Wythoff symbol \"3 2 5\" has no bar " + form},
        BadText{"two_bars", "3 | 2 | 5",
                "the Wythoff symbol \"3 | 2 | 5\" has a second bar " + form},
        BadText{"two_numbers", "3 | 2",
                "the Wythoff symbol \"3 | 2\" has 2 numbers, not 3 " + form},
        BadText{"four_numbers", "3 | 2 5 5",
                "the Wythoff symbol \"3 | 2 5 5\" has 4 numbers, not 3 " + form},
        BadText{"zero", "3 | 0 5", "the Wythoff symbol \"3 | 0 5\" has a zero in \"0\" " + form},
        BadText{"letter", "3 | x 5", "the Wythoff symbol \"3 | x 5\" has the letter \"x\" " + form},
        BadText{"sign", "-3 | 2 5", "the Wythoff symbol \"-3 | 2 5\" has the sign \"-\" " + form}),
    RowName());

struct SymbolCase {
    const char* name;
    const char* text;
    const char* triangle;
    WythoffBar bar;
    const char* written;
};

class WythoffSymbolText : public testing::TestWithParam<SymbolCase> {};

TEST_P(WythoffSymbolText, ReadsTheTriangleAndTheBar) {
    const WythoffSymbol symbol = parseWythoffSymbol(GetParam().text);
    EXPECT_EQ(symbol.triangle, GetParam().triangle);
    EXPECT_EQ(symbol.bar, GetParam().bar);
    EXPECT_EQ(wythoffText(symbol), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Symbols, WythoffSymbolText,
    testing::Values(SymbolCase{"vertex", "3 | 2 5", "3 2 5", WythoffBar::afterFirst, "3 | 2 5"},
                    SymbolCase{"side", " 5/2\t3 |3 ", "5/2 3 3", WythoffBar::afterSecond,
                               "5/2 3 | 3"},
                    SymbolCase{"incentre", "2 3 5|", "2 3 5", WythoffBar::afterAll, "2 3 5 |"},
                    SymbolCase{"snub", "|2 3 5", "2 3 5", WythoffBar::beforeAll, "| 2 3 5"}),
    RowName());

class BadGeneratingPoint : public testing::TestWithParam<const char*> {};

TEST_P(BadGeneratingPoint, IsRefusedWithItsForm) {
    EXPECT_THROW_MSG((void)parseGeneratingPoint(GetParam()), DrawError,
                     "the point \"" + std::string(GetParam()) + "\" is not a point " + pointForm);
}

INSTANTIATE_TEST_SUITE_P(Points, BadGeneratingPoint,
                         testing::Values("", "0,0,0", "1,2", "1,2,3,4", "1,,2", "1,2,x", "inf,0,0",
                                         "vertex:D", "vertex:", "side:0", "side:4", "snub:0",
                                         "snub:-1", "snub:1x", "incenter"));

struct PointCase {
    const char* name;
    const char* text;
    PointKind kind;
    int index;
    const char* written;  // generatingPointText's, which reads back as the same point
};

class GeneratingPointText : public testing::TestWithParam<PointCase> {};

TEST_P(GeneratingPointText, ReadsEachKindAndWritesItBack) {
    const PointCase& c = GetParam();
    const GeneratingPoint point = parseGeneratingPoint(c.text);
    EXPECT_EQ(point.kind, c.kind);
    EXPECT_EQ(point.index, c.index);
    EXPECT_EQ(generatingPointText(point), c.written);
    const GeneratingPoint again = parseGeneratingPoint(generatingPointText(point));
    EXPECT_EQ(again.kind, point.kind);
    EXPECT_EQ(again.index, point.index);
    EXPECT_EQ(again.direction, point.direction);
}

INSTANTIATE_TEST_SUITE_P(
    Points, GeneratingPointText,
    testing::Values(PointCase{"vertexC", "vertex:C", PointKind::vertex, 2, "vertex:C"},
                    PointCase{"side3", "side:3", PointKind::side, 2, "side:3"},
                    PointCase{"incentre", "incentre", PointKind::incentre, 0, "incentre"},
                    PointCase{"snub2", "snub:2", PointKind::snub, 1, "snub:2"},
                    PointCase{"snub12", "snub:12", PointKind::snub, 11, "snub:12"},
                    // Normalised, and written to the last bit of each double.
                    PointCase{"direction", " 3, 0 ,-4", PointKind::given, 0,
                              "0.6000000000000001,0,-0.8"},
                    PointCase{"thirds", "1,1,1", PointKind::given, 0,
                              "0.5773502691896258,0.5773502691896258,0.5773502691896258"}),
    RowName());

DrawRequest usual(const char* text) {
    DrawRequest request;
    request.triangleCode = text;
    request.notation = TriangleNotation::schwarz;
    return request;
}

// The side points lie on their mirror, equally far from the other two; the incentre equally far
// from all three, inside the triangle.
TEST(TrianglePoints, LieWhereTheirNamesSay) {
    for (const char* text : {"2 3 5", "5/3 5/2 3", "2 2 7/2", "3/2 4 4"}) {
        const WythoffTriangle t = wythoffTriangle(usual(text));
        const Mirrors& n = t.setup.normals;
        for (int i = 0; i < 3; ++i) {
            const auto u = static_cast<std::size_t>(i);
            const Vec3 p = pointOf(t, GeneratingPoint::side(i));
            EXPECT_NEAR(dot(p, n[u]), 0.0, 1e-15) << text << " side " << i + 1;
            EXPECT_NEAR(dot(p, n[(u + 1) % 3]), dot(p, n[(u + 2) % 3]), 1e-15) << text;
            EXPECT_GT(dot(p, n[(u + 1) % 3]), 0.0) << text;
        }
        const Vec3 c = pointOf(t, GeneratingPoint::incentre());
        EXPECT_NEAR(dot(c, n[0]), dot(c, n[1]), 1e-15) << text;
        EXPECT_NEAR(dot(c, n[1]), dot(c, n[2]), 1e-15) << text;
        EXPECT_GT(dot(c, n[0]), 0.0) << text;
    }
}

struct RefusedCase {
    const char* name;
    const char* triangle;
    GeneratingPoint point;
    std::string message;
};

class RefusedPolyhedron : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedPolyhedron, SaysWhy) {
    const RefusedCase& row = GetParam();
    EXPECT_THROW_MSG((void)buildPolyhedron(wythoffTriangle(usual(row.triangle)), row.point),
                     DrawError, row.message);
}

INSTANTIATE_TEST_SUITE_P(
    Points, RefusedPolyhedron,
    testing::Values(
        RefusedCase{"dense", "2 3 7/3", GeneratingPoint::incentre(),
                    "the triangle (2 3 7/3) has no polyhedron: the images of the triangle are "
                    "dense on the sphere"},
        RefusedCase{"hyperbolic", "5/2 4 4", GeneratingPoint::incentre(),
                    "the triangle (5/2 4 4) has no polyhedron: it lies in the hyperbolic plane, "
                    "and polyhedra are built on the sphere"},
        RefusedCase{"euclidean", "3 3 3", GeneratingPoint::vertex(0),
                    "the triangle (3 3 3) has no polyhedron: it lies in the Euclidean plane, and "
                    "polyhedra are built on the sphere"},
        RefusedCase{"too_many", "2 2 10001", GeneratingPoint::incentre(),
                    "the triangle (2 2 10001) has no polyhedron built: its group has 40004 "
                    "elements, more than 40000"},
        RefusedCase{"no_such_snub_point", "2 3 5", GeneratingPoint::snub(99),
                    "the triangle (2 3 5) has 2 snub points, no point 100"},
        RefusedCase{"no_such_vertex", "2 3 5", GeneratingPoint::vertex(3),
                    "the triangle has no point 4 of that kind: it has three vertices and three "
                    "sides"}),
    RowName());

struct FactsCase {
    const char* name;
    const char* symbol;
    std::string lines;
};

class FactLines : public testing::TestWithParam<FactsCase> {};

TEST_P(FactLines, SayTheFacts) {
    EXPECT_EQ(polyhedronFactLines(
                  polyhedronFacts(buildPolyhedron(parseWythoffSymbol(GetParam().symbol)))),
              GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Facts, FactLines,
    testing::Values(
        FactsCase{"snub_dodecahedron", "| 2 3 5",
                  "polyhedron: U29 snub dodecahedron\nvertices: 60\nedges: 150\nfaces: 92\n"
                  "faces by type: 80 {3}, 12 {5}\nvertex configuration: 3.3.3.3.5\n"
                  "Euler characteristic: 2\ndensity: 1\n"
                  "circumradius: 2.15583737511564 for unit edge\n"},
        FactsCase{"great_stellated_dodecahedron", "3 | 2 5/2",
                  "polyhedron: U52 great stellated dodecahedron\nvertices: 20\nedges: 30\n"
                  "faces: 12\nfaces by type: 12 {5/2}\nvertex configuration: 5/2.5/2.5/2\n"
                  "Euler characteristic: 2\ndensity: 7\n"
                  "circumradius: 0.535233134659635 for unit edge\n"},
        FactsCase{"one_sided", "3/2 3 | 2",
                  "polyhedron: U4 tetrahemihexahedron\nvertices: 6\nedges: 12\nfaces: 7\n"
                  "faces by type: 4 {3}, 3 {4}\nvertex configuration: 3.4.3.4\n"
                  "Euler characteristic: 1\ndensity: none (one-sided)\n"
                  "circumradius: 0.707106781186548 for unit edge\n"},
        FactsCase{"through_the_centre", "3/2 3 | 3",
                  "polyhedron: U3 octahemioctahedron\nvertices: 12\nedges: 24\nfaces: 12\n"
                  "faces by type: 8 {3}, 4 {6}\nvertex configuration: 3.6.3.6\n"
                  "Euler characteristic: 0\ndensity: none (a face through the centre)\n"
                  "circumradius: 1 for unit edge\n"},
        FactsCase{"collapsed", "5 | 2 2", "polyhedron: none; its vertices coincide\n"}),
    RowName());

TEST(FactLines, GiveTheEdgeLengthsOfAPointThatIsNotUniform) {
    const WythoffTriangle t = wythoffTriangle(usual("2 3 4"));
    const Polyhedron p =
        buildPolyhedron(t, pointOf(t, GeneratingPoint::given(t.vertices[0] + t.vertices[1])));
    const PolyhedronFacts facts = polyhedronFacts(p);
    EXPECT_FALSE(facts.uniform);
    EXPECT_FALSE(facts.name.has_value());
    ASSERT_EQ(facts.edgeLengths.size(), 2U);
    EXPECT_EQ(faceCountText(facts.faceCounts), "8 {3}, 6 {8}");
    const std::string lines = polyhedronFactLines(facts);
    EXPECT_EQ(lines.substr(0, lines.find('\n')), "polyhedron: not uniform");
    EXPECT_NE(lines.find("\nedge lengths: "), std::string::npos);
}

TEST(FactLines, SayThatAPolyhedronWithoutItsDoubledFacesIsOpen) {
    // The angle 2 pi / 3 at B: the hexagons round B, two triangles traced together, are left out.
    const WythoffTriangle t = wythoffTriangle(usual("2 3/2 3"));
    const Polyhedron p = buildPolyhedron(
        t, GeneratingPoint::given(t.vertices[0] + 2.0 * t.vertices[1] + 4.0 * t.vertices[2]));
    const PolyhedronFacts facts = polyhedronFacts(p);
    EXPECT_FALSE(facts.closed);
    EXPECT_FALSE(facts.density.has_value());
    EXPECT_NE(polyhedronFactLines(facts).find("\ndensity: none (an edge not between two faces)\n"),
              std::string::npos);
}

struct DualCase {
    const char* name;
    const char* symbol;
    int vertices;
    int edges;
    const char* faces;
};

class Dual : public testing::TestWithParam<DualCase> {};

TEST_P(Dual, HasTheCountsOfTheDualAndItsDualIsThePolyhedron) {
    const Polyhedron p = buildPolyhedron(parseWythoffSymbol(GetParam().symbol));
    const Polyhedron dual = dualPolyhedron(p);
    EXPECT_EQ(static_cast<int>(dual.vertices.size()), GetParam().vertices);
    EXPECT_EQ(static_cast<int>(dual.edges.size()), GetParam().edges);
    std::vector<FaceCount> counts;
    for (const FaceType& type : dual.faceTypes) {
        int n = 0;
        for (const Face& f : dual.faces) {
            n += &dual.faceTypes[static_cast<std::size_t>(f.type)] == &type ? 1 : 0;
        }
        counts.push_back({n, type.sides, type.turns});
    }
    EXPECT_EQ(faceCountText(counts), GetParam().faces);
    // Each dual face touches the midsphere along its edges' poles: the dual of the dual has the
    // polyhedron's vertices, in its order, all at one distance.
    const Polyhedron twice = dualPolyhedron(dual);
    ASSERT_EQ(twice.vertices.size(), p.vertices.size());
    const double scale = length(twice.vertices[0]);
    for (std::size_t v = 0; v < p.vertices.size(); ++v) {
        EXPECT_NEAR(length(twice.vertices[v]), scale, 1e-12);
        EXPECT_NEAR(length(unit(twice.vertices[v]) - p.vertices[v]), 0.0, 1e-12);
    }
    EXPECT_EQ(twice.edges, p.edges);
}

INSTANTIATE_TEST_SUITE_P(
    Catalan, Dual,
    testing::Values(DualCase{"rhombic_dodecahedron", "2 | 3 4", 14, 24, "12 {4}"},
                    DualCase{"pentakis_dodecahedron", "2 5 | 3", 32, 90, "60 {3}"},
                    DualCase{"pentagonal_icositetrahedron", "| 2 3 4", 38, 60, "24 {5}"},
                    DualCase{"disdyakis_triacontahedron", "2 3 5 |", 62, 180, "120 {3}"},
                    DualCase{"great_dodecahedron", "5 | 2 5/2", 12, 30, "12 {5}"},
                    DualCase{"great_rhombic_triacontahedron", "2 | 5/2 3", 32, 60, "30 {4}"},
                    DualCase{"pentagonal_bipyramid", "2 5 | 2", 7, 15, "10 {3}"}),
    RowName());

TEST(Dual, IsRefusedForAFaceThroughTheCentre) {
    EXPECT_THROW_MSG((void)dualPolyhedron(buildPolyhedron(parseWythoffSymbol("3/2 3 | 3"))),
                     DrawError,
                     "the polyhedron has a face through its centre: it has no finite dual");
}

}  // namespace
}  // namespace vantu
