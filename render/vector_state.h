#pragma once

namespace vantu {

// Code outside the core, Qt's image and event handling among it, can leave the upper halves of
// the AVX registers in use. Until they are cleared, every SSE instruction of the drawing core
// pays for a state transition, which makes a drawing several times slower on some Intel
// processors. Callers that run such code between rows clear them before the core goes on.
// Does nothing on processors without AVX.
inline void clearUpperVectorState() noexcept {
#if defined(__x86_64__) || defined(__i386__)
    static const bool hasAvx = __builtin_cpu_supports("avx") != 0;
    if (hasAvx) {
        __asm__ volatile("vzeroupper");
    }
#endif
}

}  // namespace vantu
