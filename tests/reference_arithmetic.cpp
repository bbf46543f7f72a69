// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "tests/reference_arithmetic.h"

#include <cfenv>

namespace vantu::reference_arithmetic {

bool faulted() {
    return std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW) != 0;
}

double rounded(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), double x) {
    mpfr_set_emin(-1073);
    mpfr_set_emax(1024);
    mpfr_t v;
    mpfr_init2(v, 53);
    mpfr_set_d(v, x, MPFR_RNDN);
    mpfr_subnormalize(v, f(v, v, MPFR_RNDN), MPFR_RNDN);
    const double result = mpfr_get_d(v, MPFR_RNDN);
    mpfr_clear(v);
    return result;
}

}  // namespace vantu::reference_arithmetic
