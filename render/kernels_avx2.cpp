// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The fast kernels for the avx2 instruction set; CMake sets the compiler's flags for this file.
#define VANTU_KERNEL_VARIANT avx2
#include "render/kernel_body.h"
