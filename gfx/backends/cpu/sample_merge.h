// A split pixel's samples updated by one fragment: the covered ones take
// the fragment (blended over them, or in place of them), and the pixel's
// resolved colour is their mean. Four samples at a time in SSE2 registers,
// with the same integer arithmetic as pixel_ops.h's, so that the result is
// the same to the bit; scalar where the processor has no SSE2.
#pragma once

#include <cstdint>

#include "pixel_ops.h"

namespace cpu {

// What a merge leaves: the pixel's resolved colour, and whether its samples
// have all come to the same colour (the pixel is single again).
struct Merged {
    uint32_t color;
    bool uniform;
};

#if defined(__SSE2__)
namespace sample_merge_detail {

// Lanes of four samples (32 bits each) selected by bits of mask.
inline __m128i laneMask(uint32_t mask)
{
    const __m128i bits = _mm_set_epi32(8, 4, 2, 1);
    return _mm_cmpeq_epi32(_mm_and_si128(_mm_set1_epi32(static_cast<int>(mask)), bits), bits);
}

// src over four samples, channel by channel: x = s * a + d * (255 - a) in
// 16-bit lanes, rounded to x / 255 as div255Lanes does.
inline __m128i blendOver4(__m128i src16, __m128i alpha16, __m128i inverse16, __m128i dst)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i round = _mm_set1_epi16(0x80);
    auto half = [&](__m128i d16) {
        __m128i x = _mm_add_epi16(_mm_mullo_epi16(src16, alpha16), _mm_mullo_epi16(d16, inverse16));
        x = _mm_add_epi16(x, round);
        return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
    };
    return _mm_packus_epi16(half(_mm_unpacklo_epi8(dst, zero)), half(_mm_unpackhi_epi8(dst, zero)));
}

// The four samples' channels summed in 16-bit lanes 0 to 3.
inline __m128i channelSums(__m128i samples)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i pairs = _mm_add_epi16(_mm_unpacklo_epi8(samples, zero), _mm_unpackhi_epi8(samples, zero));
    return _mm_add_epi16(pairs, _mm_unpackhi_epi64(pairs, pairs));
}

}  // namespace sample_merge_detail

// F is 4 or 8.
template <int F>
inline Merged mergeSamples(uint32_t* samples, uint32_t src, uint32_t mask, bool opaque)
{
    using namespace sample_merge_detail;
    static_assert(F == 4 || F == 8, "four or eight samples");
    const uint32_t a = alphaOf(src);
    const __m128i zero = _mm_setzero_si128();
    const __m128i src32 = _mm_set1_epi32(static_cast<int>(src));
    const __m128i src16 = _mm_unpacklo_epi8(src32, zero);
    const __m128i alpha16 = _mm_set1_epi16(static_cast<short>(a));
    const __m128i inverse16 = _mm_set1_epi16(static_cast<short>(255 - a));
    const bool replaces = opaque || a == 255;
    __m128i kept[F / 4];
    __m128i sums = zero;
    __m128i same = _mm_set1_epi32(-1);
    for (int q = 0; q < F / 4; ++q) {
        auto* at = reinterpret_cast<__m128i*>(samples + 4 * q);
        const __m128i before = _mm_loadu_si128(at);
        __m128i covered = replaces ? src32 : (a == 0 ? before : blendOver4(src16, alpha16, inverse16, before));
        const __m128i lanes = laneMask(mask >> (4 * q));
        kept[q] = _mm_or_si128(_mm_and_si128(lanes, covered), _mm_andnot_si128(lanes, before));
        _mm_storeu_si128(at, kept[q]);
        sums = _mm_add_epi16(sums, channelSums(kept[q]));
    }
    const __m128i first = _mm_shuffle_epi32(kept[0], 0);
    for (int q = 0; q < F / 4; ++q)
        same = _mm_and_si128(same, _mm_cmpeq_epi32(kept[q], first));
    if (_mm_movemask_epi8(same) == 0xFFFF)
        return {static_cast<uint32_t>(_mm_cvtsi128_si32(kept[0])), true};
    constexpr int shift = F == 8 ? 3 : 2;
    const __m128i mean = _mm_srli_epi16(_mm_add_epi16(sums, _mm_set1_epi16(F / 2)), shift);
    return {static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(mean, mean))), false};
}
#else
template <int F>
inline Merged mergeSamples(uint32_t* samples, uint32_t src, uint32_t mask, bool opaque)
{
    uint32_t kept[F];
    bool uniform = true;
    for (int s = 0; s < F; ++s) {
        kept[s] = samples[s];
        if (mask >> s & 1)
            kept[s] = opaque ? src : blendOver(src, kept[s]);
        samples[s] = kept[s];
        uniform = uniform && kept[s] == kept[0];
    }
    return {uniform ? kept[0] : averageSamples(kept, F, F == 8 ? 3 : 2), uniform};
}
#endif

}  // namespace cpu
