#include "vector_state.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace plot::detail {

namespace {
const bool hasAvx = __builtin_cpu_supports("avx");

__attribute__((target("avx"))) void zeroUpper()
{
    _mm256_zeroupper();
}
} // namespace

void ClearUpperVectorState()
{
    if (hasAvx)
        zeroUpper();
}

} // namespace plot::detail
#else
namespace plot::detail {
void ClearUpperVectorState() { }
}
#endif
