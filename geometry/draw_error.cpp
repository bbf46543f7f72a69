// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "geometry/draw_error.h"

#include <cmath>

namespace vantu {

DrawError::DrawError(FaultKind kind, FaultStage stage, std::string /*step*/,
                     const std::string& message, int row, int column)
    : std::runtime_error(message), m_kind(kind), m_stage(stage), m_row(row), m_column(column) {}

const char* faultKindText(FaultKind kind) noexcept {
    switch (kind) {
        case FaultKind::divisionByZero:
            return "division by zero";
        case FaultKind::overflow:
            return "overflow";
        case FaultKind::invalidOperation:
            break;
    }
    return "invalid operation";
}

namespace detail {

Fault valueFault(double value) noexcept {
    if (std::isnan(value)) {
        return {FaultKind::invalidOperation, "invalid operation"};
    }
    if (std::isinf(value)) {
        return {FaultKind::overflow, "overflow"};
    }
    return {};
}

Fault divisionFault(double numerator, double divisor) noexcept {
    if (divisor == 0.0) {
        if (numerator == 0.0) {
            return {FaultKind::invalidOperation, "invalid operation (zero divided by zero)"};
        }
        return {FaultKind::divisionByZero, "division by zero"};
    }
    return valueFault(numerator / divisor);
}

Fault sqrtFault(double argument) noexcept {
    if (argument < 0.0) {
        return {FaultKind::invalidOperation, "square root of a negative number"};
    }
    return {};
}

}  // namespace detail
}  // namespace vantu
