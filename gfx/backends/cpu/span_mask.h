// Which samples of pixel x lie in their sample row's span [begin, end):
// bit s set where begin[s] <= x < end[s]. Asked for every partly covered
// pixel of every edge, so four samples are compared at once in SSE2.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cpu {

template <int N>
inline uint32_t spanMask(int x, const int* begin, const int* end)
{
#if defined(__SSE2__)
    if constexpr (N % 4 == 0) {
        const __m128i at = _mm_set1_epi32(x);
        uint32_t mask = 0;
        for (int q = 0; q < N / 4; ++q) {
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + 4 * q));
            const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end + 4 * q));
            const __m128i inside = _mm_andnot_si128(_mm_cmpgt_epi32(b, at), _mm_cmpgt_epi32(e, at));
            mask |= static_cast<uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(inside))) << (4 * q);
        }
        return mask;
    }
#endif
    uint32_t mask = 0;
    for (int s = 0; s < N; ++s)
        mask |= static_cast<uint32_t>(x >= begin[s] && x < end[s]) << s;
    return mask;
}

}  // namespace cpu
