// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The dual of a polyhedron: its reciprocal about the midsphere.

#include "polyhedron/polyhedron.h"

namespace vantu {

// The reciprocal of `polyhedron` about its midsphere, the sphere about the centre whose radius
// is the mean distance of the edges' midpoints from it (for a uniform polyhedron every midpoint
// is that far, and the sphere touches every edge; for another it is only their mean). Dual
// vertex i is the pole of face i's plane; dual face j runs round vertex j, through the faces
// around it in order (each the next across an edge they share, so that a star vertex figure
// comes out in order); dual edges join the two faces of each edge (each once, sorted).
// The dual's vertices lie off the unit sphere unless the polyhedron is regular. One face type
// per polygon {n/d}, numbered in the order of the vertices, every origin 0. Throws DrawError
// (invalid operation, stage triangle) when a face's plane passes through the centre (the
// hemi-polyhedra: no finite dual), or the faces round a vertex do not close into one ring.
[[nodiscard]] Polyhedron dualPolyhedron(const Polyhedron& polyhedron);

}  // namespace vantu
