// Pixel arithmetic on packed 8-bit RGBA (R in the lowest byte, as the bytes
// lie in memory on a little-endian machine), done as the GL does it: unorm8
// products rounded to the nearest level, GL_SRC_ALPHA /
// GL_ONE_MINUS_SRC_ALPHA blending, GL_MODULATE, a box-filter resolve.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cpu {

constexpr uint32_t kEvenBytes = 0x00FF00FFu;

constexpr uint32_t packRgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return r | (g << 8) | (b << 16) | (a << 24);
}

constexpr uint32_t alphaOf(uint32_t c) { return c >> 24; }

// x / 255 rounded, for each 16-bit lane of x holding at most 255 * 255.
inline uint32_t div255Lanes(uint32_t x)
{
    x += 0x00800080u;
    return ((x + ((x >> 8) & kEvenBytes)) >> 8) & kEvenBytes;
}

// src * a + dst * (1 - a) for all four channels, a taken from src: the
// destination alpha follows the GL's blend of it too.
inline uint32_t blendOver(uint32_t src, uint32_t dst)
{
    const uint32_t a = alphaOf(src);
    if (a == 255)
        return src;
    if (a == 0)
        return dst;
    const uint32_t na = 255 - a;
    const uint32_t even = div255Lanes((src & kEvenBytes) * a + (dst & kEvenBytes) * na);
    const uint32_t odd = div255Lanes(((src >> 8) & kEvenBytes) * a + ((dst >> 8) & kEvenBytes) * na);
    return even | (odd << 8);
}

// a * w + b * (255 - w), over 255, rounded, for each channel.
inline uint32_t mixBytes(uint32_t a, uint32_t b, uint32_t w)
{
    const uint32_t nw = 255 - w;
    const uint32_t even = div255Lanes((a & kEvenBytes) * w + (b & kEvenBytes) * nw);
    const uint32_t odd = div255Lanes(((a >> 8) & kEvenBytes) * w + ((b >> 8) & kEvenBytes) * nw);
    return even | (odd << 8);
}

#if defined(__SSE2__)
// x / 255 rounded, for each 16-bit lane holding at most 255 * 255: the
// lanes of div255Lanes, eight at a time.
inline __m128i div255Epi16(__m128i x)
{
    x = _mm_add_epi16(x, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// a * w + b * (255 - w), over 255, rounded, for eight channels in 16-bit
// lanes: mixBytes of two pixels.
inline __m128i mixEpi16(__m128i a, __m128i b, __m128i w)
{
    const __m128i nw = _mm_sub_epi16(_mm_set1_epi16(255), w);
    return div255Epi16(_mm_add_epi16(_mm_mullo_epi16(a, w), _mm_mullo_epi16(b, nw)));
}

// blendOver(withAlpha(rgb, mul255(alpha, coverage[i])), pixels[i]) for
// four pixels, coverage[i] (at most 255) in the low four 16-bit lanes of
// coverage: a colour of alpha alpha drawn through a glyph's texels.
inline void blendCoverageOverFour(uint32_t* pixels, uint32_t rgb, uint32_t alpha, __m128i coverage)
{
    const __m128i zero = _mm_setzero_si128();
    // The source alphas, each spread over its pixel's four channels:
    // blending by its own alpha, the source alpha channel is that alpha.
    const __m128i sourceAlpha = div255Epi16(_mm_mullo_epi16(coverage, _mm_set1_epi16(static_cast<short>(alpha))));
    const __m128i pairs = _mm_unpacklo_epi16(sourceAlpha, sourceAlpha);
    const __m128i weightLo = _mm_unpacklo_epi32(pairs, pairs), weightHi = _mm_unpackhi_epi32(pairs, pairs);
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    const __m128i colour = _mm_andnot_si128(alphaLanes, _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(rgb)), zero));
    const __m128i srcLo = _mm_or_si128(colour, _mm_and_si128(alphaLanes, weightLo));
    const __m128i srcHi = _mm_or_si128(colour, _mm_and_si128(alphaLanes, weightHi));
    const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    const __m128i lo = mixEpi16(srcLo, _mm_unpacklo_epi8(dst, zero), weightLo);
    const __m128i hi = mixEpi16(srcHi, _mm_unpackhi_epi8(dst, zero), weightHi);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), _mm_packus_epi16(lo, hi));
}
#endif

// Channel-wise product of two colours (GL_MODULATE of an RGBA texel).
inline uint32_t modulate(uint32_t a, uint32_t b)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t x = ((a >> shift) & 0xFF) * ((b >> shift) & 0xFF) + 128;
        out |= (((x + (x >> 8)) >> 8) & 0xFF) << shift;
    }
    return out;
}

// A colour with its alpha replaced (GL_MODULATE of an opaque colour by an
// alpha texel).
inline uint32_t withAlpha(uint32_t c, uint32_t a) { return (c & 0x00FFFFFFu) | (a << 24); }

// The mean of count (2, 4 or 8) samples, rounded to nearest, channel by
// channel: the resolve of a multisampled pixel.
inline uint32_t averageSamples(const uint32_t* samples, int count, int shift)
{
    uint32_t even = 0;
    uint32_t odd = 0;
    for (int i = 0; i < count; ++i) {
        even += samples[i] & kEvenBytes;
        odd += (samples[i] >> 8) & kEvenBytes;
    }
    const uint32_t half = static_cast<uint32_t>(count / 2) * 0x00010001u;
    return (((even + half) >> shift) & kEvenBytes) | ((((odd + half) >> shift) & kEvenBytes) << 8);
}

// Fills count pixels with one colour, four at a time: left to the
// compiler, the fill of a span stayed scalar where it was inlined.
inline void fillPixels(uint32_t* pixels, size_t count, uint32_t rgba)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(rgba));
    for (; i + 4 <= count; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), four);
#endif
    for (; i < count; ++i)
        pixels[i] = rgba;
}

// The set bits of a pixel's sample mask (at most 8): without a popcount
// instruction in the baseline x86-64 set, the builtin is a library call.
inline int maskBits(uint32_t mask)
{
    mask = mask - ((mask >> 1) & 0x55u);
    mask = (mask & 0x33u) + ((mask >> 2) & 0x33u);
    return static_cast<int>((mask + (mask >> 4)) & 0x0Fu);
}

// The same mean for count samples of which n are a and the rest b.
inline uint32_t mixTwo(uint32_t a, int n, uint32_t b, int count, int shift)
{
    const uint32_t na = static_cast<uint32_t>(n), nb = static_cast<uint32_t>(count - n);
    const uint32_t even = (a & kEvenBytes) * na + (b & kEvenBytes) * nb;
    const uint32_t odd = ((a >> 8) & kEvenBytes) * na + ((b >> 8) & kEvenBytes) * nb;
    const uint32_t half = static_cast<uint32_t>(count / 2) * 0x00010001u;
    return (((even + half) >> shift) & kEvenBytes) | ((((odd + half) >> shift) & kEvenBytes) << 8);
}

}  // namespace cpu
