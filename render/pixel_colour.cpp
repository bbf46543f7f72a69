#include "render/pixel_colour.h"

namespace vantu {

PackedColour pixelColour(const Vec3& p, const Mirrors& n) noexcept {
    return detail::colourOf(p, n);
}

}  // namespace vantu
