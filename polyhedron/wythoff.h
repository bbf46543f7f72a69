// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Wythoff's construction: the polyhedron that a generating point P of the sphere gives under the
// group of the triangle's three mirrors, and the ways to name P (a Wythoff symbol, a point of the
// triangle, a snub point, any direction).

#include <array>
#include <string>
#include <string_view>

#include "geometry/vec3.h"
#include "polyhedron/polyhedron.h"
#include "setup/draw_request.h"
#include "setup/mirror_group.h"
#include "setup/triangle_code.h"

namespace vantu {

// What a Wythoff symbol looks like, for the end of a message about a text that does not read as
// one.
inline constexpr std::string_view wythoffForm =
    "(a Wythoff symbol is three numbers of the usual notation and one bar, in one of the forms "
    "\"p | q r\", \"p q | r\", \"p q r |\" or \"| p q r\", as in \"3 | 2 5\" or \"5/2 3 | 3\")";

// What a generating point looks like, for the end of a message about a text that does not read
// as one.
inline constexpr std::string_view generatingPointForm =
    "(a point is three coordinates \"x,y,z\", not all 0, or \"vertex:A\", \"side:1\", "
    "\"incentre\" or \"snub:N\", as in \"0.2,0.3,1\" or \"side:3\")";

// Where the bar of a Wythoff symbol stands, and so which point of the triangle "p q r" generates.
enum class WythoffBar {
    afterFirst,   // "p | q r": the vertex A
    afterSecond,  // "p q | r": the point F of side AB (mirror 3), equally far from mirrors 1 and 2
    afterAll,     // "p q r |": the incentre, equally far from all three mirrors
    beforeAll,    // "| p q r": the snub point of the published snub polyhedron
};

// A Wythoff symbol read: the triangle "p q r" in the usual notation and where the bar stands.
struct WythoffSymbol {
    std::string triangle;  // "p q r", the numbers as written, one blank apart
    WythoffBar bar = WythoffBar::afterAll;
};

// Reads `text`: blanks around and between three numbers of the usual notation (whole numbers or
// fractions n/d, read by the notation's own reader) and exactly one bar, before, between or after
// them. Throws DrawError (invalid operation, stage code) whose message quotes the text, says what
// is wrong with it and ends with wythoffForm.
[[nodiscard]] WythoffSymbol parseWythoffSymbol(std::string_view text);

// The symbol written back: "3 | 2 5", "| 2 3 5".
[[nodiscard]] std::string wythoffText(const WythoffSymbol& symbol);

// One of the triangle's own points, or any direction.
enum class PointKind {
    vertex,    // vertex A, B or C of the triangle: `index` 0, 1, 2
    side,      // on mirror `index` + 1, equally far from the other two mirrors
    incentre,  // equally far from the three mirrors
    snub,      // snub point `index` + 1 as findSnubPoints lists it (vantu-render --snub's #)
    given,     // `direction`, normalised
};

// The generating point of a polyhedron, before the triangle is known.
struct GeneratingPoint {
    PointKind kind = PointKind::incentre;
    int index = 0;     // vertex, side and snub only
    Vec3 direction{};  // given only

    [[nodiscard]] static GeneratingPoint vertex(int i) { return {PointKind::vertex, i, {}}; }
    [[nodiscard]] static GeneratingPoint side(int mirror) { return {PointKind::side, mirror, {}}; }
    [[nodiscard]] static GeneratingPoint incentre() { return {PointKind::incentre, 0, {}}; }
    [[nodiscard]] static GeneratingPoint snub(int i) { return {PointKind::snub, i, {}}; }
    [[nodiscard]] static GeneratingPoint given(const Vec3& v) { return {PointKind::given, 0, v}; }
};

// Reads a generating point as vantu-render takes it: "x,y,z" (three finite numbers, not all 0),
// "vertex:A" (B, C), "side:1" (2, 3), "incentre", "snub:N" (N from 1). Throws DrawError
// (invalid operation, stage code) whose message quotes the text and ends with
// generatingPointForm.
[[nodiscard]] GeneratingPoint parseGeneratingPoint(std::string_view text);

// The point written as parseGeneratingPoint reads it back: "vertex:A", "side:1", "incentre",
// "snub:1" or the direction "x,y,z", each number written so that it reads back as the same
// double.
[[nodiscard]] std::string generatingPointText(const GeneratingPoint& point);

// A triangle made ready for Wythoff's construction: its mirrors solved as a drawing solves them
// (prepareDrawing), its vertices, its exact angles at A, B, C and its finite group.
struct WythoffTriangle {
    DrawSetup setup;
    std::array<Vec3, 3> vertices{};  // A, B, C (triangleVertices)
    ExactFractions fractions;        // the angles at A, B, C, after the rotation and reverse
    MirrorGroup group;               // triangleGroup's, no mirrors listed
};

// Prepares the triangle of `request`. Throws DrawError as triangleFacts does; for a triangle of
// the Euclidean or the hyperbolic plane, DrawError (invalid operation, stage triangle) saying
// that polyhedra are built on the sphere; for a spherical triangle whose group is not finite,
// DrawError (invalid operation, stage triangle) saying that the images of the triangle are dense on
// the sphere; for a dihedral group of more than maxPolyhedronGroup elements, one saying that it is
// too large.
[[nodiscard]] WythoffTriangle wythoffTriangle(const DrawRequest& request);

// The most elements of a group whose polyhedra are built.
inline constexpr long maxPolyhedronGroup = 40000;

// The unit vector of `point` for `triangle`. Throws DrawError (invalid operation, stage triangle)
// for a snub point the triangle does not have (the message says how many it has) and for an
// index out of range.
[[nodiscard]] Vec3 pointOf(const WythoffTriangle& triangle, const GeneratingPoint& point);

// The polyhedron of the generating point `p` (a unit vector): the orbit of p under the group
// (points within 1e-9 of each other merged); for each vertex V of the triangle whose two mirrors
// a, b do not both pass through p, the face p, s_a p, s_a s_b p, ... and its images under the
// group. A face of two vertices is an edge; the 2n-gon of a vertex of angle pi d/n with d even,
// when p lies on neither mirror, is two polygons traced together and is left out; faces with the
// same vertices are one (the first type's). With `snub`, the orbit under the rotations of the
// group only, the faces p, r_V p, r_V^2 p, ... around each vertex V (r_A = s_2 s_3,
// r_B = s_3 s_1, r_C = s_1 s_2) and the snub triangles p, r_A p, r_A r_B p. Edges are the faces'
// sides. Face types are numbered in the order A, B, C, snub triangles, those that give no face
// left out.
[[nodiscard]] Polyhedron buildPolyhedron(const WythoffTriangle& triangle, const Vec3& p,
                                         bool snub = false);

// The same for a point of the triangle; snub points build snub polyhedra.
[[nodiscard]] Polyhedron buildPolyhedron(const WythoffTriangle& triangle,
                                         const GeneratingPoint& point);

// The triangle of a Wythoff symbol ("p q r", A = pi/p, B = pi/q, C = pi/r) and its point: vertex
// A, the point F of side AB, the incentre, or the snub point of the published snub polyhedron
// (the first snub point inside the triangle, else the first listed).
[[nodiscard]] DrawRequest symbolTriangle(const WythoffSymbol& symbol);
[[nodiscard]] GeneratingPoint symbolPoint(const WythoffTriangle& triangle,
                                          const WythoffSymbol& symbol);

// buildPolyhedron for a Wythoff symbol.
[[nodiscard]] Polyhedron buildPolyhedron(const WythoffSymbol& symbol);

}  // namespace vantu
