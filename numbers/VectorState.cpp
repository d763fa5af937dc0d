#include "numbers/VectorState.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>

namespace
{

__attribute__((target("avx"))) void zeroUpper()
{
    _mm256_zeroupper();
}

bool hasAvx()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return has;
}

} // namespace

void VectorState::settle()
{
    if (hasAvx())
        zeroUpper();
}

#else

void VectorState::settle() {}

#endif
