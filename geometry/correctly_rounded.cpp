#include "geometry/correctly_rounded.h"

#include <mpfr.h>

namespace vantu::cr {
namespace {

// One thread's MPFR number of 53 bits, with the exponent range of a double (from the smallest
// subnormal, 2^-1074, to the largest finite number), so that rounding into it is rounding to a
// double, subnormals included.
class Working {
public:
    Working() noexcept {
        mpfr_set_emin(-1073);
        mpfr_set_emax(1024);
        mpfr_init2(m_value, 53);
    }
    Working(const Working&) = delete;
    Working& operator=(const Working&) = delete;
    ~Working() {
        mpfr_clear(m_value);
        mpfr_free_cache2(MPFR_FREE_LOCAL_CACHE);
    }

    using Function = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

    double apply(Function f, double x) noexcept {
        mpfr_set_d(m_value, x, MPFR_RNDN);  // exact: 53 bits hold every double
        const int direction = f(m_value, m_value, MPFR_RNDN);
        mpfr_subnormalize(m_value, direction, MPFR_RNDN);
        return mpfr_get_d(m_value, MPFR_RNDN);
    }

private:
    mpfr_t m_value;
};

double apply(Working::Function f, double x) noexcept {
    thread_local Working working;
    return working.apply(f, x);
}

}  // namespace

double atan(double x) noexcept {
    return apply(mpfr_atan, x);
}

double sin(double x) noexcept {
    return apply(mpfr_sin, x);
}

double cos(double x) noexcept {
    return apply(mpfr_cos, x);
}

}  // namespace vantu::cr
