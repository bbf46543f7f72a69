// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "setup/triangle_solver.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <string>

#include "geometry/checked_arithmetic.h"
#include "geometry/correctly_rounded.h"
#include "geometry/draw_error.h"
#include "geometry/text.h"

namespace vantu {
namespace detail {
namespace {

// Checks each stored value of one solution and names the failing step in the error.
class TriangleCheck : public CheckedArithmetic<TriangleCheck> {
public:
    TriangleCheck(double A, double B, double C, Geometry geometry = Geometry::spherical)
        : m_A(A), m_B(B), m_C(C), m_geometry(geometry) {}

    // Stops a triangle whose placed mirrors no longer meet at its angles: a nearly ideal
    // triangle whose sides have outgrown what doubles can place.
    [[noreturn]] void lostPrecision(const char* vertex) const {
        throw DrawError(FaultKind::invalidOperation, FaultStage::triangle, "checking the angles",
                        "the angles " + formatDegrees(m_A) + "\u00B0, " + formatDegrees(m_B) +
                            "\u00B0, " + formatDegrees(m_C) + "\u00B0 form a " +
                            std::string(geometryName(m_geometry)) +
                            " triangle whose sides are too long to place in double precision: "
                            "its mirrors do not meet at the angle " +
                            vertex);
    }

private:
    friend class CheckedArithmetic<TriangleCheck>;

    [[noreturn]] void fail(const Fault& fault, const char* step) const {
        throw DrawError(fault.kind, FaultStage::triangle, step,
                        "the angles " + formatDegrees(m_A) + "\u00B0, " + formatDegrees(m_B) +
                            "\u00B0, " + formatDegrees(m_C) + "\u00B0 do not form a " +
                            std::string(geometryName(m_geometry)) + " triangle: " + fault.text +
                            " while " + step);
    }

    double m_A;
    double m_B;
    double m_C;
    Geometry m_geometry;
};

// Scales `u` to unit length: multiplication by the reciprocal of its length, y term first.
Vec3 normalise(const TriangleCheck& check, Vec3 u, const char* step) {
    const double lengthSquared = check.value((u.y * u.y + u.x * u.x) + u.z * u.z, step);
    const double length = check.root(lengthSquared, step);
    const double k = check.quotient(1.0, length, step);
    u.x = check.value(u.x * k, step);
    u.y = check.value(u.y * k, step);
    u.z = check.value(u.z * k, step);
    return u;
}

// Scales the normal `u` of a mirror of the hyperbolic plane to <u, u> = 1 under the form
// (uy vy + ux vx) - uz vz.
Vec3 normaliseHyperbolic(const TriangleCheck& check, Vec3 u, const char* step) {
    const double lengthSquared = check.value((u.y * u.y + u.x * u.x) - u.z * u.z, step);
    const double length = check.root(lengthSquared, step);
    const double k = check.quotient(1.0, length, step);
    u.x = check.value(u.x * k, step);
    u.y = check.value(u.y * k, step);
    u.z = check.value(u.z * k, step);
    return u;
}

// Scales the line `u` of the Euclidean plane by the length of its x and y part, so that u . P is
// the signed distance of the point P = (x, y, 1).
Vec3 normaliseEuclidean(const TriangleCheck& check, Vec3 u, const char* step) {
    const double lengthSquared = check.value(u.y * u.y + u.x * u.x, step);
    const double length = check.root(lengthSquared, step);
    const double k = check.quotient(1.0, length, step);
    u.x = check.value(u.x * k, step);
    u.y = check.value(u.y * k, step);
    u.z = check.value(u.z * k, step);
    return u;
}

// Stops the placed triangle `t` of the plane `geometry` unless its mirrors meet at the angles
// A, B, C to 1e-6: <N2, N3> = -cos A and so on, in the geometry's form. The sides of a nearly
// ideal triangle grow until the cross products that give its normals cancel every digit, and
// its picture would be of some other triangle.
void checkAngles(const TriangleCheck& check, const SolvedTriangle& t, double A, double B, double C,
                 Geometry geometry) {
    const auto form = [geometry](const Vec3& u, const Vec3& v) {
        return geometry == Geometry::hyperbolic ? hyperbolicForm(u, v) : u.y * v.y + u.x * v.x;
    };
    const std::array<double, 3> angles = {A, B, C};
    const std::array<const char*, 3> names = {"A", "B", "C"};
    for (std::size_t i = 0; i < 3; ++i) {
        const double meet = form(t.normals[(i + 1) % 3], t.normals[(i + 2) % 3]);
        if (!(std::abs(meet + cr::cos(angles[i])) <= 1e-6)) {
            check.lostPrecision(names[i]);
        }
    }
}

// The hyperbolic plane: the sphere's steps with cosh and sinh for the sides, in the hyperboloid
// model.
SolvedTriangle solveHyperbolic(double A, double B, double C) {
    const TriangleCheck check(A, B, C, Geometry::hyperbolic);
    const double cosA = cr::cos(A);
    const double sinA = cr::sin(A);
    const double cosB = cr::cos(B);
    const double sinB = cr::sin(B);
    const double cosC = cr::cos(C);
    const double sinC = cr::sin(C);

    // Sides c and b by the hyperbolic law of cosines for the angles.
    const char* const sideC = "solving side c";
    const double coshc = check.quotient(cosC + cosB * cosA, sinB * sinA, sideC);
    const double sinhc = check.root(coshc * coshc - 1.0, sideC);
    const char* const sideB = "solving side b";
    const double coshb = check.quotient(cosB + cosA * cosC, sinA * sinC, sideB);
    const double sinhb = check.root(coshb * coshb - 1.0, sideB);

    // Vertex C with vertex A at (0, 0, 1) and side c along +x.
    const char* const vertexC = "placing vertex C";
    const Vec3 c1{check.value(cosA * sinhb, vertexC), check.value(sinA * sinhb, vertexC), coshb};

    // F, where the bisector of C meets side c: the angle F and the length AF.
    const double h = check.value(C / 2.0, "halving the angle C");
    const double cosH = cr::cos(h);
    const double sinH = cr::sin(h);
    const char* const angleF = "finding the angle F";
    const double cosF = check.value(((sinH * coshb) * sinA) - (cosA * cosH), angleF);
    const double sinF = check.root(1.0 - cosF * cosF, angleF);
    const char* const lengthAF = "finding the length AF";
    const double coshAF = check.quotient(cosH + cosA * cosF, sinF * sinA, lengthAF);
    const double sinhAF = check.root(coshAF * coshAF - 1.0, lengthAF);

    // Move along the x axis by the length AF so that F comes to (0, 0, 1).
    SolvedTriangle t;
    const char* const vertices = "placing the vertices";
    t.vertexA = {-sinhAF, 0.0, coshAF};
    t.vertexB = {check.value((coshAF * sinhc) - (coshc * sinhAF), vertices), 0.0,
                 check.value((coshc * coshAF) - (sinhAF * sinhc), vertices)};
    t.vertexC = {check.value((c1.x * coshAF) - (sinhAF * c1.z), vertices), c1.y,
                 check.value((coshAF * c1.z) - (c1.x * sinhAF), vertices)};

    // The mirror normals: the sphere's cross products with their z component negated, N3 first.
    const Vec3& a = t.vertexA;
    const Vec3& b = t.vertexB;
    const Vec3& v = t.vertexC;
    const char* const normal3 = "forming the normal N3";
    const Vec3 u3{0.0, check.value((a.z * b.x) - (b.z * a.x), normal3), 0.0};
    t.normals[2] = normaliseHyperbolic(check, u3, normal3);
    const char* const normal1 = "forming the normal N1";
    const Vec3 u1{check.value(-(b.z * v.y), normal1),
                  check.value((v.x * b.z) - (v.z * b.x), normal1),
                  check.value(-(v.y * b.x), normal1)};
    t.normals[0] = normaliseHyperbolic(check, u1, normal1);
    const char* const normal2 = "forming the normal N2";
    const Vec3 u2{check.value(v.y * a.z, normal2), check.value((a.x * v.z) - (v.x * a.z), normal2),
                  check.value(v.y * a.x, normal2)};
    t.normals[1] = normaliseHyperbolic(check, u2, normal2);
    checkAngles(check, t, A, B, C, Geometry::hyperbolic);
    return t;
}

// The Euclidean plane z = 1: side c of length 1, side b by the law of sines.
SolvedTriangle solveEuclidean(double A, double B, double C) {
    const TriangleCheck check(A, B, C, Geometry::euclidean);
    const double cosA = cr::cos(A);
    const double sinA = cr::sin(A);
    const double sinB = cr::sin(B);
    const double sinC = cr::sin(C);

    const double b = check.quotient(sinB, sinC, "solving side b");

    // F, where the bisector of C meets side c: the angle F and the length AF.
    const double h = check.value(C / 2.0, "halving the angle C");
    const double cosH = cr::cos(h);
    const double sinH = cr::sin(h);
    const char* const angleF = "finding the angle F";
    const double cosF = check.value((sinH * sinA) - (cosA * cosH), angleF);
    const double sinF = check.root(1.0 - cosF * cosF, angleF);
    const double af = check.quotient(b * sinH, sinF, "finding the length AF");

    SolvedTriangle t;
    const char* const vertices = "placing the vertices";
    t.vertexA = {-af, 0.0, 1.0};
    t.vertexB = {check.value(1.0 - af, vertices), 0.0, 1.0};
    t.vertexC = {check.value((cosA * b) - af, vertices), check.value(sinA * b, vertices), 1.0};

    // The lines through two vertices each: the cross products of the homogeneous vertices in
    // the sphere's order, N3 first.
    const Vec3& a = t.vertexA;
    const Vec3& w = t.vertexB;
    const Vec3& v = t.vertexC;
    const char* const normal3 = "forming the normal N3";
    const Vec3 u3{0.0, check.value((a.z * w.x) - (w.z * a.x), normal3), 0.0};
    t.normals[2] = normaliseEuclidean(check, u3, normal3);
    const char* const normal1 = "forming the normal N1";
    const Vec3 u1{check.value(-(w.z * v.y), normal1),
                  check.value((v.x * w.z) - (v.z * w.x), normal1), check.value(v.y * w.x, normal1)};
    t.normals[0] = normaliseEuclidean(check, u1, normal1);
    const char* const normal2 = "forming the normal N2";
    const Vec3 u2{check.value(v.y * a.z, normal2), check.value((a.x * v.z) - (v.x * a.z), normal2),
                  check.value(-(v.y * a.x), normal2)};
    t.normals[1] = normaliseEuclidean(check, u2, normal2);
    checkAngles(check, t, A, B, C, Geometry::euclidean);
    return t;
}

}  // namespace
}  // namespace detail

SolvedTriangle solveTriangle(double A, double B, double C) {
    const detail::TriangleCheck check(A, B, C);
    const double cosA = cr::cos(A);
    const double sinA = cr::sin(A);
    const double cosB = cr::cos(B);
    const double sinB = cr::sin(B);
    const double cosC = cr::cos(C);
    const double sinC = cr::sin(C);

    // Sides c and b by the polar law of cosines.
    const char* const sideC = "solving side c";
    const double cosc = check.quotient(cosC + cosB * cosA, sinB * sinA, sideC);
    const double sinc = check.root(1.0 - cosc * cosc, sideC);
    const char* const sideB = "solving side b";
    const double cosb = check.quotient(cosB + cosA * cosC, sinA * sinC, sideB);
    const double sinb = check.root(1.0 - cosb * cosb, sideB);

    // Vertex C with vertex A at (0, 0, 1) and side c along +x.
    const char* const vertexC = "placing vertex C";
    const Vec3 c1{check.value(cosA * sinb, vertexC), check.value(sinA * sinb, vertexC), cosb};

    // F, where the bisector of C meets side c: the angle F and the arc AF.
    const double h = check.value(C / 2.0, "halving the angle C");
    const double cosH = cr::cos(h);
    const double sinH = cr::sin(h);
    const char* const angleF = "finding the angle F";
    const double cosF = check.value(((sinH * cosb) * sinA) - (cosA * cosH), angleF);
    const double sinF = check.root(1.0 - cosF * cosF, angleF);
    const char* const arcAF = "finding the arc AF";
    const double cosAF = check.quotient(cosH + cosA * cosF, sinF * sinA, arcAF);
    const double sinAF = check.root(1.0 - cosAF * cosAF, arcAF);

    // Turn about the y axis by the arc AF so that F comes to (0, 0, 1).
    SolvedTriangle t;
    const char* const vertices = "placing the vertices";
    t.vertexA = {-sinAF, 0.0, cosAF};
    t.vertexB = {check.value((cosAF * sinc) - (cosc * sinAF), vertices), 0.0,
                 check.value((cosc * cosAF) + (sinAF * sinc), vertices)};
    t.vertexC = {check.value((c1.x * cosAF) - (sinAF * c1.z), vertices), c1.y,
                 check.value((c1.x * sinAF) + (cosAF * c1.z), vertices)};

    // The mirror normals as cross products of the vertices, N3 first.
    const Vec3& a = t.vertexA;
    const Vec3& b = t.vertexB;
    const Vec3& v = t.vertexC;
    const char* const normal3 = "forming the normal N3";
    const Vec3 u3{0.0, check.value((a.z * b.x) - (b.z * a.x), normal3), 0.0};
    t.normals[2] = detail::normalise(check, u3, normal3);
    const char* const normal1 = "forming the normal N1";
    const Vec3 u1{check.value(-(b.z * v.y), normal1),
                  check.value((v.x * b.z) - (v.z * b.x), normal1), check.value(v.y * b.x, normal1)};
    t.normals[0] = detail::normalise(check, u1, normal1);
    const char* const normal2 = "forming the normal N2";
    const Vec3 u2{check.value(v.y * a.z, normal2), check.value((a.x * v.z) - (v.x * a.z), normal2),
                  check.value(-(v.y * a.x), normal2)};
    t.normals[1] = detail::normalise(check, u2, normal2);
    return t;
}

Mirrors solveMirrors(double A, double B, double C) {
    return solveTriangle(A, B, C).normals;
}

SolvedTriangle solveTriangle(double A, double B, double C, Geometry geometry) {
    switch (geometry) {
        case Geometry::spherical:
            break;
        case Geometry::euclidean:
            return detail::solveEuclidean(A, B, C);
        case Geometry::hyperbolic:
            return detail::solveHyperbolic(A, B, C);
    }
    return solveTriangle(A, B, C);
}

Mirrors solveMirrors(double A, double B, double C, Geometry geometry) {
    return solveTriangle(A, B, C, geometry).normals;
}

}  // namespace vantu
