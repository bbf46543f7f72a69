// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The one error of the drawing core, and the checks that find its faults.

#include <stdexcept>
#include <string>

namespace vantu {

// The floating-point faults that stop a drawing. Underflow and inexact results are not faults.
enum class FaultKind {
    invalidOperation,  // 0/0, the square root of a negative number, ...
    divisionByZero,    // a non-zero number divided by zero
    overflow,          // a result beyond the range of doubles
};

// Where in a drawing a fault happened.
enum class FaultStage {
    scale,     // reading the scale R
    code,      // parsing the triangle code
    triangle,  // solving the triangle into mirror normals
    scan,      // the raster scan
};

// The one error of the core. A drawing stops at its first fault and throws this; nothing is
// computed or emitted after it. `what()` is a complete sentence a user can act on, for example
// "the scale R is 0: division by zero in row 0".
class DrawError : public std::runtime_error {
public:
    // `step` names the value being computed ("side c", "row 0, column 3"), as the message does;
    // it is not kept. Row and column are the pixel for scan faults and -1 elsewhere.
    DrawError(FaultKind kind, FaultStage stage, std::string step, const std::string& message,
              int row = -1, int column = -1);

    [[nodiscard]] FaultKind kind() const noexcept { return m_kind; }
    [[nodiscard]] FaultStage stage() const noexcept { return m_stage; }
    [[nodiscard]] int row() const noexcept { return m_row; }
    [[nodiscard]] int column() const noexcept { return m_column; }

private:
    FaultKind m_kind;
    FaultStage m_stage;
    int m_row;
    int m_column;
};

// The user-facing name of a fault kind: "division by zero", "overflow", "invalid operation".
[[nodiscard]] const char* faultKindText(FaultKind kind) noexcept;

namespace detail {

// What went wrong in one checked operation, if anything. `text` is null when it went right.
struct Fault {
    FaultKind kind = FaultKind::invalidOperation;
    const char* text = nullptr;
    explicit operator bool() const noexcept { return text != nullptr; }
};

// Classifies a stored value computed from finite operands: NaN is an invalid operation and an
// infinity an overflow.
[[nodiscard]] Fault valueFault(double value) noexcept;

// Classifies the division numerator / divisor with finite operands before it is done.
[[nodiscard]] Fault divisionFault(double numerator, double divisor) noexcept;

// Classifies the square root of `argument` before it is taken.
[[nodiscard]] Fault sqrtFault(double argument) noexcept;

}  // namespace detail
}  // namespace vantu
