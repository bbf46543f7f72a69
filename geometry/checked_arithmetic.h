// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The one checked arithmetic of the core: the triangle solver and the scan's checked pass both
// compute through it, so that a stored value, a quotient and a square root are classified the
// same way wherever they fault.

#include <cmath>

#include "geometry/draw_error.h"

namespace vantu::detail {

// Arithmetic with every stored value checked. A value is classified by valueFault; a quotient
// by divisionFault before it is taken; a square root by sqrtFault before it is taken and its
// result as a value. At the first fault the owner's `fail(fault, where...)` is called, which
// throws DrawError; `where` is what the owner needs to name the step (nothing, or the step's
// name). `Owner` derives from this class and declares it a friend.
template <class Owner>
class CheckedArithmetic {
public:
    template <class... Where>
    [[nodiscard]] double value(double v, const Where&... where) const {
        check(valueFault(v), where...);
        return v;
    }
    template <class... Where>
    [[nodiscard]] double quotient(double numerator, double divisor, const Where&... where) const {
        check(divisionFault(numerator, divisor), where...);
        return numerator / divisor;
    }
    template <class... Where>
    [[nodiscard]] double root(double argument, const Where&... where) const {
        check(sqrtFault(argument), where...);
        return value(std::sqrt(argument), where...);
    }

protected:
    CheckedArithmetic() = default;

private:
    template <class... Where>
    void check(const Fault& fault, const Where&... where) const {
        if (fault) {
            static_cast<const Owner&>(*this).fail(fault, where...);
        }
    }
};

}  // namespace vantu::detail
