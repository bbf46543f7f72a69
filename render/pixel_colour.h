#pragma once

#include "render/run_sink.h"
#include "setup/mirrors.h"

namespace vantu {

// The colour of the pixel that shows the unit vector `p`, for the mirror normals `n`.
// Brightness: how many mirrors have p on their non-negative side (none counts as two). Hue: the
// order of the squared distances D1, D2, D3 between the mirror images of p. One of 21 colours.
[[nodiscard]] PackedColour pixelColour(const Vec3& p, const Mirrors& n) noexcept;

namespace detail {

// pixelColour with the rule written out, inline for the scan loop.
[[nodiscard]] inline PackedColour colourOf(const Vec3& p, const Mirrors& n) noexcept;

}  // namespace detail
}  // namespace vantu

#include "render/pixel_colour_inl.h"
