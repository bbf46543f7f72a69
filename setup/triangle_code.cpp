#include "setup/triangle_code.h"

#include <cstddef>
#include <string>

#include "geometry/draw_error.h"
#include "setup/numeric_prefix.h"

namespace vantu {

CodeAngles parseTriangleCode(std::string_view text, double pi) {
    CodeAngles angles{};
    for (int fraction = 0; fraction < 3; ++fraction) {
        const int divisorPosition = 5 + 4 * fraction;
        const std::string_view divisorPiece = detail::characterAt(text, divisorPosition);
        const double p = numericPrefix(divisorPiece);
        const double q = numericPrefix(detail::characterAt(text, divisorPosition + 2));
        if (const detail::Fault fault = detail::divisionFault(pi, p)) {
            const std::string where = " at position " + std::to_string(divisorPosition) +
                                      " (fraction " + std::to_string(fraction + 1) + ")";
            const std::string what = divisorPiece == "0"
                                         ? "the triangle code has the divisor 0" + where
                                         : "the triangle code has no divisor digit" + where;
            throw DrawError(fault.kind, FaultStage::code,
                            "fraction " + std::to_string(fraction + 1), what + ": " + fault.text);
        }
        angles[static_cast<std::size_t>(fraction)] = (pi / p) * q;
    }
    return angles;
}

namespace detail {

std::string_view characterAt(std::string_view text, int position) noexcept {
    const auto isContinuation = [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
    };
    std::size_t i = 0;
    for (int current = 1; i < text.size(); ++current) {
        std::size_t end = i + 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xC0U) {
            while (end < text.size() && isContinuation(text[end]) && end - i < 4) {
                ++end;
            }
        }
        if (current == position) {
            return text.substr(i, end - i);
        }
        i = end;
    }
    return {};
}

}  // namespace detail
}  // namespace vantu
