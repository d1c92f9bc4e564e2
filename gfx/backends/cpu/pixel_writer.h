// What a draw writes into a CpuFrame, a span or a pixel at a time: the
// fragment's colour (flat, or modulated by a texture sampled at the pixel
// centre), blending, the stencil written or tested per sample, and a
// pixel's samples kept apart only while they differ.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "cpu_frame.h"
#include "pixel_ops.h"
#include "sample_merge.h"
#include "triangle_raster.h"

namespace cpu {

// An attribute as a plane over window positions.
struct Plane {
    float a, b, c;  // value = a * x + b * y + c
    float At(float x, float y) const { return a * x + b * y + c; }
};

inline Plane makePlane(const RasterVertex* v, float RasterVertex::*attribute)
{
    const double x1 = v[1].x - v[0].x, y1 = v[1].y - v[0].y;
    const double x2 = v[2].x - v[0].x, y2 = v[2].y - v[0].y;
    const double det = x1 * y2 - x2 * y1;
    const double a0 = v[0].*attribute;
    if (det == 0.0)
        return {0.0f, 0.0f, static_cast<float>(a0)};
    const double d1 = v[1].*attribute - a0, d2 = v[2].*attribute - a0;
    const double a = (d1 * y2 - d2 * y1) / det;
    const double b = (d2 * x1 - d1 * x2) / det;
    return {static_cast<float>(a), static_cast<float>(b), static_cast<float>(a0 - a * v[0].x - b * v[0].y)};
}

inline uint32_t mul255(uint32_t a, uint32_t b)
{
    const uint32_t x = a * b + 128;
    return (x + (x >> 8)) >> 8;
}

// What a draw writes, and where.
template <int F>  // the frame's samples a pixel
class Writer {
public:
    Writer(CpuFrame& frame, const Paint& paint)
        : color_(frame.Pixels()), split_(frame.Split()), samples_(frame.SampleColors()),
          stencil_(frame.Stencil()), width_(frame.Width()), paint_(paint),
          solidOpaque_(!paint.texture && (!paint.blend || alphaOf(paint.color) == 255))
    {
    }

    // A textured paint's coordinates, from the triangle being drawn.
    void TextureFrom(const RasterVertex* v)
    {
        s_ = makePlane(v, &RasterVertex::s);
        t_ = makePlane(v, &RasterVertex::t);
        const CpuTexture& texture = *paint_.texture;
        // s along x alone and t along y alone (a glyph, an upright image):
        // a * x + b * y + c is then the same for any y (or x), since the
        // other term is a zero.
        upright_ = texture.format == TexelFormat::Alpha && texture.filter == TextureFilter::Linear &&
                   !texture.oneDimensional && s_.b == 0.0f && t_.a == 0.0f;
        if (!upright_)
            return;
        row_ = kNone;
        for (Column& column : columns_)
            column.x = kNone;
    }

    // Whether another triangle's texture coordinates give TextureFrom's
    // planes: its pixels are then shaded as its own would be. Compared as
    // numbers: the two halves of a quad differ in the sign of a zero,
    // which changes no sum, no product but a zero, and no sample.
    bool SameTextureAs(const RasterVertex* v) const
    {
        const Plane s = makePlane(v, &RasterVertex::s), t = makePlane(v, &RasterVertex::t);
        return s.a == s_.a && s.b == s_.b && s.c == s_.c && t.a == t_.a && t.b == t_.b && t.c == t_.c;
    }

    void SingleSampleSpan(int y, int x0, int x1)
    {
        const size_t row = static_cast<size_t>(y) * width_;
        if (paint_.stencil == StencilMode::Write) {
            std::memset(stencil_ + row + x0, paint_.stencilRef, static_cast<size_t>(x1 - x0));
            return;
        }
        if (solidOpaque_ && paint_.stencil == StencilMode::Off) {
            fillPixels(color_ + row + x0, static_cast<size_t>(x1 - x0), paint_.color);
            return;
        }
        if (UprightBlend()) {
            UprightSpan<false>(y, x0, x1);
            return;
        }
        for (int x = x0; x < x1; ++x) {
            const size_t p = row + x;
            if (paint_.stencil == StencilMode::Test && stencil_[p] != paint_.stencilRef)
                continue;
            const uint32_t src = Shade(x, y);
            color_[p] = paint_.blend ? blendOver(src, color_[p]) : src;
        }
    }

    // Pixels [x0, x1) of row y with every sample covered.
    void FullSpan(int y, int x0, int x1)
    {
        const size_t row = static_cast<size_t>(y) * width_;
        if (paint_.stencil == StencilMode::Write) {
            std::memset(stencil_ + (row + x0) * count_, paint_.stencilRef, static_cast<size_t>(x1 - x0) * count_);
            return;
        }
        if (solidOpaque_ && paint_.stencil == StencilMode::Off) {
            fillPixels(color_ + row + x0, static_cast<size_t>(x1 - x0), paint_.color);
            split_.ClearSpan(y, x0, x1);
            return;
        }
        if (UprightBlend()) {
            UprightSpan<true>(y, x0, x1);
            return;
        }
        for (int x = x0; x < x1; ++x)
            Pixel(y, x, full_);
    }

    // Asks for the cache line of pixel x's samples in row y (a row of the
    // frame), to be written soon: a pixel's first partial cover stores its
    // samples into a plane 4 x the frame's size, which is mostly out of
    // the cache, and an edge's next row is almost always beside this one's.
    void PrefetchSamples(int y, int x) const
    {
        if (F > 1)
            __builtin_prefetch(samples_ + (static_cast<size_t>(y) * width_ + x) * count_, 1, 3);
    }

    // Pixel x of row y, its samples in mask covered.
    void Pixel(int y, int x, uint32_t mask) { PixelAt(static_cast<size_t>(y) * width_ + x, x, y, mask); }

    // Pixel p, at x, y, its samples in mask covered. Kept out of line,
    // with the store inside it: inlined into the scans it cost them more.
    [[gnu::noinline]] void PixelAt(size_t p, int x, int y, uint32_t mask)
    {
        uint8_t* stencil = stencil_ + p * count_;
        if (paint_.stencil == StencilMode::Write) {
            for (int s = 0; s < count_; ++s)
                if (mask >> s & 1)
                    stencil[s] = paint_.stencilRef;
            return;
        }
        if (paint_.stencil == StencilMode::Test) {
            for (int s = 0; s < count_; ++s)
                if (stencil[s] != paint_.stencilRef)
                    mask &= ~(1u << s);
            if (mask == 0)
                return;
        }
        Store(p, x, y, mask, Shade(x, y));
    }

private:
    static constexpr int kNone = -1;
    static constexpr int kColumns = 64;
    struct Column {
        int x;
        CpuTexture::Pair pair;
    };

    // Pixel p, at x, y, its samples in mask (which passed the stencil)
    // taking the fragment's colour src.
    [[gnu::always_inline]] void Store(size_t p, int x, int y, uint32_t mask, uint32_t src)
    {
        const bool opaque = !paint_.blend || alphaOf(src) == 255;
        uint32_t* samples = samples_ + p * count_;
        if (!split_.Test(x, y)) {
            const uint32_t before = color_[p];
            const uint32_t after = opaque ? src : blendOver(src, before);
            if (after == before)
                return;
            if (mask == full_) {
                color_[p] = after;
                return;
            }
            for (int s = 0; s < count_; ++s)
                samples[s] = mask >> s & 1 ? after : before;
            split_.Set(x, y, true);
            // From registers: reading the samples back just stored stalls.
            color_[p] = mixTwo(after, maskBits(mask), before, count_, shift_);
            return;
        }
        if (mask == full_ && opaque) {
            color_[p] = src;
            split_.Set(x, y, false);
            return;
        }
        if constexpr (F >= 4) {
            const Merged merged = mergeSamples<F>(samples, src, mask, opaque);
            // A pixel whose samples have come to agree is single again.
            split_.Set(x, y, !merged.uniform);
            color_[p] = merged.color;
            return;
        }
        uint32_t kept[F];
        bool uniform = true;
        for (int s = 0; s < count_; ++s) {
            kept[s] = samples[s];
            if (mask >> s & 1)
                kept[s] = opaque ? src : blendOver(src, kept[s]);
            samples[s] = kept[s];
            uniform = uniform && kept[s] == kept[0];
        }
        split_.Set(x, y, !uniform);
        color_[p] = uniform ? kept[0] : averageSamples(kept, count_, shift_);
    }

    // A blended glyph (an upright alpha texture) with the stencil off: its
    // spans are written by UprightSpan.
    bool UprightBlend() const { return upright_ && paint_.blend && paint_.stencil == StencilMode::Off; }

    // Pixels [x0, x1) of row y, every sample covered, of a blended upright
    // texture: a texel alpha of 0 leaves a pixel as it is, a single pixel
    // is blended in place, a split one (Split: the frame has samples) has
    // each of its samples blended.
    template <bool Split>
    void UprightSpan(int y, int x0, int x1)
    {
        const size_t row = static_cast<size_t>(y) * width_;
        const uint32_t alpha = alphaOf(paint_.color);
        int x = x0;
#if defined(__SSE2__)
        // Four pixels at a time where no pixel is split and the texels all
        // lie inside the texture, four transparent ones left as they are.
        if (!Split) {
            UprightRow(x, y);
            if (row0_ && row1_)
                for (; x + 4 <= x1; x += 4) {
                    const Column* four[4] = {&UprightColumn(x, y), &UprightColumn(x + 1, y), &UprightColumn(x + 2, y),
                                             &UprightColumn(x + 3, y)};
                    if ((four[0]->pair.i0 | four[1]->pair.i0 | four[2]->pair.i0 | four[3]->pair.i0 |
                         four[0]->pair.i1 | four[1]->pair.i1 | four[2]->pair.i1 | four[3]->pair.i1) < 0)
                        break;
                    const __m128i coverage = LinearAlphaFour(four);
                    if ((_mm_movemask_epi8(_mm_cmpeq_epi16(coverage, _mm_setzero_si128())) & 0xFF) != 0xFF)
                        blendCoverageOverFour(color_ + row + x, paint_.color, alpha, coverage);
                }
        }
#endif
        for (; x < x1; ++x) {
            const uint32_t a = UprightAlpha(x, y);
            if (a == 0)
                continue;
            const uint32_t src = withAlpha(paint_.color, mul255(alpha, a));
            if (Split && split_.Test(x, y)) {
                Store(row + x, x, y, full_, src);
                continue;
            }
            color_[row + x] = blendOver(src, color_[row + x]);
        }
    }

    // An upright texture's alpha at pixel x, y, sampled at its centre. The
    // texels and weights along t once a row, along s once a column: most
    // of a linear sample's work.
    [[gnu::always_inline]] uint32_t UprightAlpha(int x, int y)
    {
        UprightRow(x, y);
        return CpuTexture::LinearAlpha(UprightColumn(x, y).pair, row0_, row1_, rowWeight_);
    }

    // The texel rows and weight along t of row y (the same at any x).
    [[gnu::always_inline]] void UprightRow(int x, int y)
    {
        if (y == row_)
            return;
        row_ = y;
        const CpuTexture& texture = *paint_.texture;
        const CpuTexture::Pair pair = texture.RowPair(t_.At(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f));
        row0_ = texture.AlphaRow(pair.i0);
        row1_ = texture.AlphaRow(pair.i1);
        rowWeight_ = pair.weight;
    }

    // The texels and weight along s of column x.
    [[gnu::always_inline]] const Column& UprightColumn(int x, int y)
    {
        Column& column = columns_[x & (kColumns - 1)];
        if (column.x != x) {
            column.x = x;
            column.pair = paint_.texture->ColumnPair(s_.At(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f));
        }
        return column;
    }

#if defined(__SSE2__)
    // LinearAlpha of four columns of the current row, in the low four
    // 16-bit lanes, their texels inside the texture: both rows' texels
    // mixed along s in one go, then along t. Every sum stays below 65 536.
    __m128i LinearAlphaFour(const Column* const* four) const
    {
        const CpuTexture::Pair& a = four[0]->pair;
        const CpuTexture::Pair& b = four[1]->pair;
        const CpuTexture::Pair& c = four[2]->pair;
        const CpuTexture::Pair& d = four[3]->pair;
        const __m128i first = _mm_setr_epi16(row0_[a.i0], row0_[b.i0], row0_[c.i0], row0_[d.i0], row1_[a.i0],
                                             row1_[b.i0], row1_[c.i0], row1_[d.i0]);
        const __m128i second = _mm_setr_epi16(row0_[a.i1], row0_[b.i1], row0_[c.i1], row0_[d.i1], row1_[a.i1],
                                              row1_[b.i1], row1_[c.i1], row1_[d.i1]);
        const __m128i weight = _mm_setr_epi16(static_cast<short>(a.weight), static_cast<short>(b.weight),
                                              static_cast<short>(c.weight), static_cast<short>(d.weight),
                                              static_cast<short>(a.weight), static_cast<short>(b.weight),
                                              static_cast<short>(c.weight), static_cast<short>(d.weight));
        const __m128i along = lerpEpi16(first, second, weight);
        return lerpEpi16(along, _mm_srli_si128(along, 8), _mm_set1_epi16(static_cast<short>(rowWeight_)));
    }

    // texture_detail::lerpChannel in eight 16-bit lanes.
    static __m128i lerpEpi16(__m128i a, __m128i b, __m128i weight)
    {
        const __m128i rest = _mm_sub_epi16(_mm_set1_epi16(texture_detail::kWeightOne), weight);
        const __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(a, rest), _mm_mullo_epi16(b, weight)),
                                          _mm_set1_epi16(texture_detail::kWeightOne / 2));
        return _mm_srli_epi16(sum, texture_detail::kWeightBits);
    }
#endif

    // The fragment's colour at pixel x, y, sampled at its centre.
    uint32_t Shade(int x, int y)
    {
        if (!paint_.texture)
            return paint_.color;
        if (upright_)
            return withAlpha(paint_.color, mul255(alphaOf(paint_.color), UprightAlpha(x, y)));
        const float cx = static_cast<float>(x) + 0.5f, cy = static_cast<float>(y) + 0.5f;
        const float s = s_.At(cx, cy);
        const float t = t_.At(cx, cy);
        if (paint_.texture->format == TexelFormat::Alpha)
            return withAlpha(paint_.color, mul255(alphaOf(paint_.color), paint_.texture->SampleAlpha(s, t)));
        return modulate(paint_.color, paint_.texture->Sample(s, t));
    }

    uint32_t* color_;
    SplitFlags& split_;
    uint32_t* samples_;
    uint8_t* stencil_;
    int width_;
    static constexpr int count_ = F;
    static constexpr int shift_ = F == 8 ? 3 : (F == 4 ? 2 : (F == 2 ? 1 : 0));
    static constexpr uint32_t full_ = (1u << F) - 1;
    const Paint& paint_;
    Plane s_{}, t_{};
    bool solidOpaque_;
    // An upright texture's pairs: the current row's, and the columns' met
    // so far (by x modulo kColumns; wider draws take theirs again).
    bool upright_ = false;
    int row_ = kNone;
    const uint8_t* row0_ = nullptr;
    const uint8_t* row1_ = nullptr;
    int rowWeight_ = 0;
    Column columns_[kColumns];
};

}  // namespace cpu
