#pragma once

// An independent, deliberately plain rendering of the picture, for comparison with the core:
// one function per pixel, std::pow for the squares and the fault flags tested after every
// stored value. Slow, and only for tests.

#include <array>
#include <optional>
#include <string>

#include "geometry/vec3.h"

namespace vantu::reference {

enum class Map { gnomonic, stereographic, orthographic };

// The packed colour of the sample at window coordinates (col, row), or nothing when a fault
// stops it. Whole numbers are the window's pixels; finer samplings sit between them.
[[nodiscard]] std::optional<int> pixel(double col, double row, double scale, double pi, Map map,
                                       const std::array<std::array<double, 3>, 3>& normals);

// The colour rule alone, for a point p.
[[nodiscard]] int colour(const std::array<double, 3>& p,
                         const std::array<std::array<double, 3>, 3>& normals);

}  // namespace vantu::reference
