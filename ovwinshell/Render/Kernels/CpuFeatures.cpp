#include "CpuFeatures.h"

namespace Render::Kernels {

#if defined(__x86_64__) || defined(__i386__)
bool Avx2Usable() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

bool Ssse3Usable() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3");
}
#else
bool Avx2Usable() { return false; }
bool Ssse3Usable() { return false; }
#endif

}  // namespace Render::Kernels
