// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Every uniform polyhedron with a Wythoff symbol, built from its symbol, against the published
// list (Coxeter, Longuet-Higgins and Miller, 1954, in the usual U1-U80 numbering): its counts,
// faces by type, Euler characteristic, density, name and circumradius for unit edge, and the
// shape of each face and edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <map>
#include <numbers>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "polyhedron/polyhedron_facts.h"
#include "polyhedron/wythoff.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

constexpr std::optional<int> none = std::nullopt;
// A density not confirmed from the list here: the counts and size are checked, not the density.
constexpr std::optional<int> unconfirmed{-1};
// A circumradius the list gives only to ten digits: the counts are checked, not the size.
constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

const double r2 = std::sqrt(2.0);
const double r5 = std::sqrt(5.0);

// The real root of x^3 + a x^2 + b x + c near `x`, by Newton's method.
double cubicRoot(double a, double b, double c, double x) {
    for (int i = 0; i < 100; ++i) {
        x -= (((x + a) * x + b) * x + c) / ((3 * x + 2 * a) * x + b);
    }
    return x;
}

// The snub cube: (1/2) sqrt((3 - t) / (2 - t)) for the tribonacci constant t,
// t^3 = t^2 + t + 1.
double snubCubeRadius() {
    const double t = cubicRoot(-1, -1, -1, 1.8);
    return std::sqrt((3 - t) / (2 - t)) / 2;
}

// The snub dodecahedron: (1/2) sqrt((2 - x) / (1 - x)) for the real root of
// x^3 + 2 x^2 = phi^2.
double snubDodecahedronRadius() {
    const double phi = (1 + r5) / 2;
    const double x = cubicRoot(2, 0, -phi * phi, 0.9);
    return std::sqrt((2 - x) / (1 - x)) / 2;
}

// The snub icosidodecadodecahedron: (1/2) sqrt(p^2 + p + 2) for the plastic ratio p, p^3 = p + 1.
double snubIcosidodecadodecahedronRadius() {
    const double p = cubicRoot(0, -1, -1, 1.3);
    return std::sqrt(p * p + p + 2) / 2;
}

// The zero near `x` of the polynomial with these coefficients, highest power first, by Newton's
// method.
double polynomialRoot(std::initializer_list<double> coefficients, double x) {
    for (int i = 0; i < 100; ++i) {
        double value = 0;
        double slope = 0;
        for (const double c : coefficients) {
            slope = slope * x + value;
            value = value * x + c;
        }
        x -= value / slope;
    }
    return x;
}

// Wikipedia's "Small snub icosicosidodecahedron" (its Cartesian coordinates) and "Small
// retrosnub icosicosidodecahedron": (1/2) sqrt((xi - 1) / xi) for a zero xi of
// x^2 + 3 x + phi^-2, -3/2 +- (1/2) sqrt(1 + 4 phi): the larger for the snub, the smaller for
// the retrosnub.
double smallSnubIcosicosidodecahedronRadius(double sign) {
    const double phi = (1 + r5) / 2;
    const double xi = -1.5 + sign * std::sqrt(1 + 4 * phi) / 2;
    return std::sqrt((xi - 1) / xi) / 2;
}

// Wikipedia's "Snub dodecadodecahedron" and "Inverted snub dodecadodecahedron":
// (1/2) sqrt((2 xi - 1) / (xi - 1)) for the smallest real zero xi of 2 x^4 - 5 x^3 + 3 x + 1
// (about 1.2223809502469911) and the largest (about 2.109759446579943).
double snubDodecadodecahedronRadius(double near) {
    const double xi = polynomialRoot({2, -5, 0, 3, 1}, near);
    return std::sqrt((2 * xi - 1) / (xi - 1)) / 2;
}

// Wikipedia's "Great snub icosidodecahedron", "Great inverted snub icosidodecahedron" and "Great
// retrosnub icosidodecahedron": the vertices from the same point for the zeros xi of
// x^3 + 2 x^2 - phi^-2 (about 0.3990206456527105, -0.5055605785332548 and -1.8934600671194555),
// the edge 2 |xi| sqrt(1 - xi) and the circumradius |xi| sqrt(2 - xi), so
// (1/2) sqrt((2 - xi) / (1 - xi)) for unit edge.
double greatSnubIcosidodecahedronRadius(double near) {
    const double phi = (1 + r5) / 2;
    const double xi = cubicRoot(2, 0, -1 / (phi * phi), near);
    return std::sqrt((2 - xi) / (1 - xi)) / 2;
}

// The prism on {n/d} with unit edges.
double prismRadius(int n, int d) {
    const double s = std::sin(std::numbers::pi * d / n);
    return std::sqrt(0.25 + 1 / (4 * s * s));
}

// The antiprism on {n/d} with unit edges (crossed for d > n / 2).
double antiprismRadius(int n, int d) {
    const double s = std::sin(std::numbers::pi * d / n);
    const double c = std::cos(std::numbers::pi * d / (2 * n));
    return std::sqrt(1 / (4 * s * s) + (1 - 1 / (4 * c * c)) / 4);
}

// The symbol the list gives the row's number (uniformSymbols).
constexpr const char* listed = nullptr;

struct UniformRow {
    const char* name;
    const char* symbol;  // listed: the list's own for its number
    int number;          // U1-U80; 0 for a prism or antiprism not on the list
    const char* publishedName;
    int vertices;
    int edges;
    int faces;
    int euler;
    const char* faceTypes;
    std::optional<int> density;  // none: one-sided, or a face through the centre
    double circumradius;         // for unit edge
};

const UniformRow uniformRows[] = {
    {"tetrahedron", listed, 1, "tetrahedron", 4, 6, 4, 2, "4 {3}", 1, std::sqrt(6.0) / 4},
    {"truncated_tetrahedron", listed, 2, "truncated tetrahedron", 12, 18, 8, 2, "4 {3}, 4 {6}", 1,
     std::sqrt(22.0) / 4},
    {"octahemioctahedron", listed, 3, "octahemioctahedron", 12, 24, 12, 0, "8 {3}, 4 {6}", none,
     1.0},
    {"tetrahemihexahedron", listed, 4, "tetrahemihexahedron", 6, 12, 7, 1, "4 {3}, 3 {4}", none,
     std::sqrt(2.0) / 2},
    {"octahedron", listed, 5, "octahedron", 6, 12, 8, 2, "8 {3}", 1, std::sqrt(2.0) / 2},
    {"cube", listed, 6, "cube", 8, 12, 6, 2, "6 {4}", 1, std::sqrt(3.0) / 2},
    {"cuboctahedron", listed, 7, "cuboctahedron", 12, 24, 14, 2, "8 {3}, 6 {4}", 1, 1.0},
    {"truncated_octahedron", listed, 8, "truncated octahedron", 24, 36, 14, 2, "6 {4}, 8 {6}", 1,
     std::sqrt(10.0) / 2},
    {"truncated_cube", listed, 9, "truncated cube", 24, 36, 14, 2, "8 {3}, 6 {8}", 1,
     std::sqrt(7 + 4 * r2) / 2},
    {"rhombicuboctahedron", listed, 10, "rhombicuboctahedron", 24, 48, 26, 2, "8 {3}, 18 {4}", 1,
     std::sqrt(5 + 2 * r2) / 2},
    {"truncated_cuboctahedron", listed, 11, "truncated cuboctahedron", 48, 72, 26, 2,
     "12 {4}, 8 {6}, 6 {8}", 1, std::sqrt(13 + 6 * r2) / 2},
    {"snub_cube", listed, 12, "snub cube", 24, 60, 38, 2, "32 {3}, 6 {4}", 1, snubCubeRadius()},
    {"small_cubicuboctahedron", listed, 13, "small cubicuboctahedron", 24, 48, 20, -4,
     "8 {3}, 6 {4}, 6 {8}", 2, std::sqrt(5 + 2 * r2) / 2},
    {"great_cubicuboctahedron", listed, 14, "great cubicuboctahedron", 24, 48, 20, -4,
     "8 {3}, 6 {4}, 6 {8/3}", 4, std::sqrt(5 - 2 * r2) / 2},
    {"cubohemioctahedron", listed, 15, "cubohemioctahedron", 12, 24, 10, -2, "6 {4}, 4 {6}", none,
     1.0},
    {"cubitruncated_cuboctahedron", listed, 16, "cubitruncated cuboctahedron", 48, 72, 20, -4,
     "8 {6}, 6 {8}, 6 {8/3}", 4, std::sqrt(7.0) / 2},
    {"great_rhombicuboctahedron", listed, 17, "great rhombicuboctahedron", 24, 48, 26, 2,
     "8 {3}, 18 {4}", 5, std::sqrt(5 - 2 * r2) / 2},
    {"small_rhombihexahedron", listed, 18, "small rhombihexahedron", 24, 48, 18, -6,
     "12 {4}, 6 {8}", none, std::sqrt(5 + 2 * r2) / 2},
    {"stellated_truncated_hexahedron", listed, 19, "stellated truncated hexahedron", 24, 36, 14, 2,
     "8 {3}, 6 {8/3}", 7, std::sqrt(7 - 4 * r2) / 2},
    {"great_truncated_cuboctahedron", listed, 20, "great truncated cuboctahedron", 48, 72, 26, 2,
     "12 {4}, 8 {6}, 6 {8/3}", 1, std::sqrt(13 - 6 * r2) / 2},
    {"great_rhombihexahedron", listed, 21, "great rhombihexahedron", 24, 48, 18, -6,
     "12 {4}, 6 {8/3}", none, std::sqrt(5 - 2 * r2) / 2},
    {"icosahedron", listed, 22, "icosahedron", 12, 30, 20, 2, "20 {3}", 1,
     std::sqrt(10 + 2 * r5) / 4},
    {"dodecahedron", listed, 23, "dodecahedron", 20, 30, 12, 2, "12 {5}", 1,
     std::sqrt(3.0) * (1 + r5) / 4},
    {"icosidodecahedron", listed, 24, "icosidodecahedron", 30, 60, 32, 2, "20 {3}, 12 {5}", 1,
     (1 + r5) / 2},
    {"truncated_icosahedron", listed, 25, "truncated icosahedron", 60, 90, 32, 2, "12 {5}, 20 {6}",
     1, std::sqrt(58 + 18 * r5) / 4},
    {"truncated_dodecahedron", listed, 26, "truncated dodecahedron", 60, 90, 32, 2,
     "20 {3}, 12 {10}", 1, std::sqrt(74 + 30 * r5) / 4},
    {"rhombicosidodecahedron", listed, 27, "rhombicosidodecahedron", 60, 120, 62, 2,
     "20 {3}, 30 {4}, 12 {5}", 1, std::sqrt(11 + 4 * r5) / 2},
    {"truncated_icosidodecahedron", listed, 28, "truncated icosidodecahedron", 120, 180, 62, 2,
     "30 {4}, 20 {6}, 12 {10}", 1, std::sqrt(31 + 12 * r5) / 2},
    {"snub_dodecahedron", listed, 29, "snub dodecahedron", 60, 150, 92, 2, "80 {3}, 12 {5}", 1,
     snubDodecahedronRadius()},
    {"small_ditrigonal_icosidodecahedron", listed, 30, "small ditrigonal icosidodecahedron", 20, 60,
     32, -8, "20 {3}, 12 {5/2}", 2, std::sqrt(3.0) / 2},
    {"small_icosicosidodecahedron", listed, 31, "small icosicosidodecahedron", 60, 120, 52, -8,
     "20 {3}, 12 {5/2}, 20 {6}", 2, std::sqrt(2 * (17 + 3 * r5)) / 4},
    {"small_snub_icosicosidodecahedron", listed, 32, "small snub icosicosidodecahedron", 60, 180,
     112, -8, "100 {3}, 12 {5/2}", unconfirmed, smallSnubIcosicosidodecahedronRadius(1)},
    {"small_dodecicosidodecahedron", listed, 33, "small dodecicosidodecahedron", 60, 120, 44, -16,
     "20 {3}, 12 {5}, 12 {10}", 2, std::sqrt(11 + 4 * r5) / 2},
    {"small_stellated_dodecahedron", listed, 34, "small stellated dodecahedron", 12, 30, 12, -6,
     "12 {5/2}", 3, std::sqrt(10 - 2 * r5) / 4},
    {"great_dodecahedron", listed, 35, "great dodecahedron", 12, 30, 12, -6, "12 {5}", 3,
     std::sqrt(10 + 2 * r5) / 4},
    {"dodecadodecahedron", listed, 36, "dodecadodecahedron", 30, 60, 24, -6, "12 {5}, 12 {5/2}", 3,
     1.0},
    {"truncated_great_dodecahedron", listed, 37, "truncated great dodecahedron", 60, 90, 24, -6,
     "12 {5/2}, 12 {10}", 3, unknown},
    {"rhombidodecadodecahedron", listed, 38, "rhombidodecadodecahedron", 60, 120, 54, -6,
     "30 {4}, 12 {5}, 12 {5/2}", 3, std::sqrt(7.0) / 2},
    {"small_rhombidodecahedron", listed, 39, "small rhombidodecahedron", 60, 120, 42, -18,
     "30 {4}, 12 {10}", none, std::sqrt(11 + 4 * r5) / 2},
    {"snub_dodecadodecahedron", listed, 40, "snub dodecadodecahedron", 60, 150, 84, -6,
     "60 {3}, 12 {5}, 12 {5/2}", 3, snubDodecadodecahedronRadius(1.22)},
    {"ditrigonal_dodecadodecahedron", listed, 41, "ditrigonal dodecadodecahedron", 20, 60, 24, -16,
     "12 {5}, 12 {5/2}", 4, std::sqrt(3.0) / 2},
    {"great_ditrigonal_dodecicosidodecahedron", listed, 42,
     "great ditrigonal dodecicosidodecahedron", 60, 120, 44, -16, "20 {3}, 12 {5}, 12 {10/3}", 4,
     unknown},
    {"small_ditrigonal_dodecicosidodecahedron", listed, 43,
     "small ditrigonal dodecicosidodecahedron", 60, 120, 44, -16, "20 {3}, 12 {5/2}, 12 {10}", 4,
     std::sqrt(2 * (17 + 3 * r5)) / 4},
    {"icosidodecadodecahedron", listed, 44, "icosidodecadodecahedron", 60, 120, 44, -16,
     "12 {5}, 12 {5/2}, 20 {6}", 4, unknown},
    {"icositruncated_dodecadodecahedron", listed, 45, "icositruncated dodecadodecahedron", 120, 180,
     44, -16, "20 {6}, 12 {10}, 12 {10/3}", 4, 2.0},
    {"snub_icosidodecadodecahedron", listed, 46, "snub icosidodecadodecahedron", 60, 180, 104, -16,
     "80 {3}, 12 {5}, 12 {5/2}", unconfirmed, snubIcosidodecadodecahedronRadius()},
    {"great_ditrigonal_icosidodecahedron", listed, 47, "great ditrigonal icosidodecahedron", 20, 60,
     32, -8, "20 {3}, 12 {5}", 6, std::sqrt(3.0) / 2},
    {"great_icosicosidodecahedron", listed, 48, "great icosicosidodecahedron", 60, 120, 52, -8,
     "20 {3}, 12 {5}, 20 {6}", 6, unknown},
    {"small_icosihemidodecahedron", listed, 49, "small icosihemidodecahedron", 30, 60, 26, -4,
     "20 {3}, 6 {10}", none, (1 + r5) / 2},
    {"small_dodecicosahedron", listed, 50, "small dodecicosahedron", 60, 120, 32, -28,
     "20 {6}, 12 {10}", none, unknown},
    {"small_dodecahemidodecahedron", listed, 51, "small dodecahemidodecahedron", 30, 60, 18, -12,
     "12 {5}, 6 {10}", none, (1 + r5) / 2},
    {"great_stellated_dodecahedron", listed, 52, "great stellated dodecahedron", 20, 30, 12, 2,
     "12 {5/2}", 7, std::sqrt(3.0) * (r5 - 1) / 4},
    {"great_icosahedron", listed, 53, "great icosahedron", 12, 30, 20, 2, "20 {3}", 7,
     std::sqrt(10 - 2 * r5) / 4},
    {"great_icosidodecahedron", listed, 54, "great icosidodecahedron", 30, 60, 32, 2,
     "20 {3}, 12 {5/2}", 7, (r5 - 1) / 2},
    {"great_truncated_icosahedron", listed, 55, "great truncated icosahedron", 60, 90, 32, 2,
     "12 {5/2}, 20 {6}", 7, std::sqrt(58 - 18 * r5) / 4},
    {"rhombicosahedron", listed, 56, "rhombicosahedron", 60, 120, 50, -10, "30 {4}, 20 {6}", none,
     unknown},
    {"great_snub_icosidodecahedron", listed, 57, "great snub icosidodecahedron", 60, 150, 92, 2,
     "80 {3}, 12 {5/2}", 7, greatSnubIcosidodecahedronRadius(0.399)},
    {"small_stellated_truncated_dodecahedron", listed, 58, "small stellated truncated dodecahedron",
     60, 90, 24, -6, "12 {5}, 12 {10/3}", 9, unknown},
    {"truncated_dodecadodecahedron", listed, 59, "truncated dodecadodecahedron", 120, 180, 54, -6,
     "30 {4}, 12 {10}, 12 {10/3}", 3, std::sqrt(11.0) / 2},
    {"inverted_snub_dodecadodecahedron", listed, 60, "inverted snub dodecadodecahedron", 60, 150,
     84, -6, "60 {3}, 12 {5}, 12 {5/2}", 9, snubDodecadodecahedronRadius(2.11)},
    {"great_dodecicosidodecahedron", listed, 61, "great dodecicosidodecahedron", 60, 120, 44, -16,
     "20 {3}, 12 {5/2}, 12 {10/3}", 10, unknown},
    {"small_dodecahemicosahedron", listed, 62, "small dodecahemicosahedron", 30, 60, 22, -8,
     "12 {5/2}, 10 {6}", none, 1.0},
    {"great_dodecicosahedron", listed, 63, "great dodecicosahedron", 60, 120, 32, -28,
     "20 {6}, 12 {10/3}", none, unknown},
    // Its circumradius for unit edge from Wikipedia's "Great snub dodecicosidodecahedron".
    {"great_snub_dodecicosidodecahedron", listed, 64, "great snub dodecicosidodecahedron", 60, 180,
     104, -16, "80 {3}, 24 {5/2}", 10, r2 / 2},
    {"great_dodecahemicosahedron", listed, 65, "great dodecahemicosahedron", 30, 60, 22, -8,
     "12 {5}, 10 {6}", none, 1.0},
    {"great_stellated_truncated_dodecahedron", listed, 66, "great stellated truncated dodecahedron",
     60, 90, 32, 2, "20 {3}, 12 {10/3}", 13, std::sqrt(74 - 30 * r5) / 4},
    {"great_rhombicosidodecahedron", listed, 67, "great rhombicosidodecahedron", 60, 120, 62, 2,
     "20 {3}, 30 {4}, 12 {5/2}", 13, std::sqrt(11 - 4 * r5) / 2},
    {"great_truncated_icosidodecahedron", listed, 68, "great truncated icosidodecahedron", 120, 180,
     62, 2, "30 {4}, 20 {6}, 12 {10/3}", 13, std::sqrt(31 - 12 * r5) / 2},
    {"great_inverted_snub_icosidodecahedron", listed, 69, "great inverted snub icosidodecahedron",
     60, 150, 92, 2, "80 {3}, 12 {5/2}", 13, greatSnubIcosidodecahedronRadius(-0.506)},
    {"great_dodecahemidodecahedron", listed, 70, "great dodecahemidodecahedron", 30, 60, 18, -12,
     "12 {5/2}, 6 {10/3}", none, (r5 - 1) / 2},
    {"great_icosihemidodecahedron", listed, 71, "great icosihemidodecahedron", 30, 60, 26, -4,
     "20 {3}, 6 {10/3}", none, (r5 - 1) / 2},
    {"small_retrosnub_icosicosidodecahedron", listed, 72, "small retrosnub icosicosidodecahedron",
     60, 180, 112, -8, "100 {3}, 12 {5/2}", 38, smallSnubIcosicosidodecahedronRadius(-1)},
    {"great_rhombidodecahedron", listed, 73, "great rhombidodecahedron", 60, 120, 42, -18,
     "30 {4}, 12 {10/3}", none, unknown},
    {"great_retrosnub_icosidodecahedron", listed, 74, "great retrosnub icosidodecahedron", 60, 150,
     92, 2, "80 {3}, 12 {5/2}", 37, greatSnubIcosidodecahedronRadius(-1.893)},
    {"pentagonal_prism", listed, 76, "pentagonal prism", 10, 15, 7, 2, "5 {4}, 2 {5}", 1,
     prismRadius(5, 1)},
    {"pentagonal_antiprism", listed, 77, "pentagonal antiprism", 10, 20, 12, 2, "10 {3}, 2 {5}", 1,
     antiprismRadius(5, 1)},
    {"pentagrammic_prism", listed, 78, "pentagrammic prism", 10, 15, 7, 2, "5 {4}, 2 {5/2}", 2,
     prismRadius(5, 2)},
    {"pentagrammic_antiprism", listed, 79, "pentagrammic antiprism", 10, 20, 12, 2,
     "10 {3}, 2 {5/2}", 2, antiprismRadius(5, 2)},
    {"pentagrammic_crossed_antiprism", listed, 80, "pentagrammic crossed antiprism", 10, 20, 12, 2,
     "10 {3}, 2 {5/2}", 3, antiprismRadius(5, 3)},
    {"triangular_prism", "2 3 | 2", 0, "triangular prism", 6, 9, 5, 2, "2 {3}, 3 {4}", 1,
     prismRadius(3, 1)},
    {"hexagonal_prism", "2 6 | 2", 0, "hexagonal prism", 12, 18, 8, 2, "6 {4}, 2 {6}", 1,
     prismRadius(6, 1)},
    {"octagrammic_prism", "2 8/3 | 2", 0, "octagrammic prism", 16, 24, 10, 2, "8 {4}, 2 {8/3}", 3,
     prismRadius(8, 3)},
    {"square_antiprism", "| 2 2 4", 0, "square antiprism", 8, 16, 10, 2, "8 {3}, 2 {4}", 1,
     antiprismRadius(4, 1)},
    {"n7_2_antiprism", "| 2 2 7/2", 0, "{7/2} antiprism", 14, 28, 16, 2, "14 {3}, 2 {7/2}", 2,
     antiprismRadius(7, 2)},
    {"octahedron_as_antiprism", "| 2 2 3", 5, "octahedron", 6, 12, 8, 2, "8 {3}", 1,
     std::sqrt(2.0) / 2},
};

// The row's symbol: its own, or the list's for its number.
std::string symbolOf(const UniformRow& row) {
    if (row.symbol != listed) {
        return row.symbol;
    }
    for (const ListedSymbol& entry : uniformSymbols()) {
        if (entry.number == row.number) {
            return std::string(entry.symbol);
        }
    }
    ADD_FAILURE() << "U" << row.number << " is not in the list";
    return "";
}

// The list holds U1-U80 but U75, each once, in order, and the table has a row for each.
TEST(UniformSymbols, ListEveryNumberButU75OnceWithARowOfItsOwn) {
    std::vector<int> numbers;
    for (const ListedSymbol& entry : uniformSymbols()) {
        numbers.push_back(entry.number);
        EXPECT_EQ(std::count_if(std::begin(uniformRows), std::end(uniformRows),
                                [&](const UniformRow& row) {
                                    return row.symbol == listed && row.number == entry.number;
                                }),
                  1)
            << "U" << entry.number;
    }
    std::vector<int> wanted(80);
    std::iota(wanted.begin(), wanted.end(), 1);
    wanted.erase(wanted.begin() + 74);
    EXPECT_EQ(numbers, wanted);
}

class UniformPolyhedron : public testing::TestWithParam<UniformRow> {};

TEST_P(UniformPolyhedron, HasThePublishedNumbers) {
    const UniformRow& row = GetParam();
    const Polyhedron p = buildPolyhedron(parseWythoffSymbol(symbolOf(row)));
    const PolyhedronFacts facts = polyhedronFacts(p);
    EXPECT_FALSE(facts.degenerate.has_value());
    EXPECT_EQ(facts.vertices, row.vertices);
    EXPECT_EQ(facts.edges, row.edges);
    EXPECT_EQ(facts.faces, row.faces);
    EXPECT_EQ(facts.euler, row.euler);
    EXPECT_EQ(faceCountText(facts.faceCounts), row.faceTypes);
    if (row.density != unconfirmed) {
        EXPECT_EQ(facts.density, row.density);
    }
    EXPECT_TRUE(facts.uniform);
    ASSERT_TRUE(facts.name.has_value());
    EXPECT_EQ(facts.name->number, row.number);
    EXPECT_EQ(facts.name->name, row.publishedName);
    if (!std::isnan(row.circumradius)) {
        EXPECT_NEAR(facts.circumradius, row.circumradius, 1e-12);
    }
}

TEST_P(UniformPolyhedron, HasPlanarFacesOnTheSphereAndEdgesBetweenTwoFaces) {
    const Polyhedron p = buildPolyhedron(parseWythoffSymbol(symbolOf(GetParam())));
    for (const Vec3& v : p.vertices) {
        EXPECT_NEAR(length(v), 1.0, 1e-12);
    }
    for (const Face& face : p.faces) {
        // Every vertex in the plane of the first three.
        const auto at = [&](std::size_t k) {
            return p.vertices[static_cast<std::size_t>(face.vertices[k])];
        };
        const Vec3 normal = unit(cross(at(1) - at(0), at(2) - at(0)));
        for (std::size_t k = 3; k < face.vertices.size(); ++k) {
            EXPECT_NEAR(dot(normal, at(k) - at(0)), 0.0, 1e-12);
        }
    }
    std::map<std::array<int, 2>, int> sharing;
    for (const Face& face : p.faces) {
        for (std::size_t k = 0; k < face.vertices.size(); ++k) {
            const int a = face.vertices[k];
            const int b = face.vertices[(k + 1) % face.vertices.size()];
            ++sharing[{std::min(a, b), std::max(a, b)}];
        }
    }
    EXPECT_EQ(sharing.size(), p.edges.size());
    const auto [a0, b0] = p.edges.front();
    const double edge =
        length(p.vertices[static_cast<std::size_t>(a0)] - p.vertices[static_cast<std::size_t>(b0)]);
    for (const auto& [a, b] : p.edges) {
        EXPECT_EQ((sharing[{a, b}]), 2);
        EXPECT_NEAR(length(p.vertices[static_cast<std::size_t>(a)] -
                           p.vertices[static_cast<std::size_t>(b)]),
                    edge, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(PublishedList, UniformPolyhedron, testing::ValuesIn(uniformRows),
                         RowName());

}  // namespace
}  // namespace vantu
