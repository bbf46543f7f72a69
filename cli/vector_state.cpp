#include "cli/vector_state.h"

namespace vantu::cli {

void clearUpperVectorState() noexcept {
#if defined(__x86_64__) || defined(__i386__)
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) {
        __asm__ volatile("vzeroupper");
    }
#endif
}

}  // namespace vantu::cli
