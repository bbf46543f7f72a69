// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The mirrors of a plane's discrete group as far as a picture shows them: infinitely many, so
// only the parts that the picture's tiles larger than a pixel hold.

#include <cstddef>
#include <vector>

#include "geometry/geometry.h"
#include "geometry/vec3.h"
#include "render/overlay.h"

namespace vantu {

// The most images of the triangle looked at for one picture, whatever its size: the walk stops
// there, with the mirrors found so far.
inline constexpr std::size_t maxPlaneTiles = std::size_t{1} << 20;

// The visible parts of the mirrors of the group that the mirrors `normals` of a triangle of the
// Euclidean or the hyperbolic plane (`geometry`) generate, a discrete group (wallpaper or
// hyperbolic), over the picture of `overlay`. The images of the triangle (its tiles) are walked
// breadth first by reflections in their sides, from the tile that holds the centre of the view,
// reached from the triangle by reflecting it in a side that has the centre beyond it until none
// has. A tile is kept, and walked on from, while it is larger than about a pixel in the picture
// (its longest side more than two output pixels) and reaches the picture; tiles are told apart by
// where the picture puts them. Each mirror appears once (its normals the same up to sign, to about
// 1e-8), as the stretch of its geodesic (geodesicOf) that spans its sides among the kept tiles. At
// most maxPlaneTiles tiles, and at most 100000 reflections to reach the centre: a walk always ends.
// A triangle `halved` is two tiles of its group's tiling, mirror images of each other across
// the bisector of the angle at its apex, where the other two angles are equal ((n/2 m m),
// (3/2 6 6)): the walk starts from the half beside its next mirror after the apex.
[[nodiscard]] std::vector<CurvePart> planeGroupMirrors(const Mirrors& normals, Geometry geometry,
                                                       bool halved, const Overlay& overlay);

}  // namespace vantu
