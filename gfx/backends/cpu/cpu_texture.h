// Textures as the GL samples them under the library's settings: alpha
// (dash patterns, glyph pages) or RGBA (images) texels; nearest or linear
// filtering; GL_CLAMP (a linear sample near the edge takes in the
// transparent border) or GL_REPEAT; one-dimensional patterns ignore t.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pixel_ops.h"

namespace cpu {

enum class TexelFormat { Alpha, Rgba };
enum class TextureFilter { Nearest, Linear };
enum class TextureWrap { Clamp, Repeat };

struct CpuTexture {
    TexelFormat format = TexelFormat::Alpha;
    int width = 0;
    int height = 0;
    bool oneDimensional = false;
    TextureFilter filter = TextureFilter::Nearest;
    TextureWrap wrap = TextureWrap::Clamp;
    std::vector<uint8_t> alpha;  // width * height, row 0 first
    std::vector<uint32_t> rgba;  // width * height packed as pixel_ops.h packs

    // Replaces the texels (and size); texels are tightly packed rows.
    void Define(TexelFormat format, int width, int height, const void* texels);
    // Replaces a w x h block at x, y; false, nothing written, when it does
    // not lie inside.
    bool Update(int x, int y, int w, int h, const void* texels);

    // The texel colour at (s, t) as packed RGBA; alpha textures give white
    // with the texel's alpha.
    uint32_t Sample(float s, float t) const;
    // The alpha alone at (s, t).
    uint32_t SampleAlpha(float s, float t) const;

    // A linear sample of an alpha texture taken apart: the texels and weight
    // along s, along t, and their mix, which equals SampleAlpha(s, t).
    struct Pair;
    Pair ColumnPair(float s) const;
    Pair RowPair(float t) const;
    uint32_t LinearAlpha(const Pair& u, const Pair& v) const;
    // The same from the two rows' texels (AlphaRow of v's rows), taken once
    // a row by a caller sampling along it.
    const uint8_t* AlphaRow(int j) const { return j < 0 ? nullptr : alpha.data() + static_cast<size_t>(j) * width; }
    static uint32_t LinearAlpha(const Pair& u, const uint8_t* row0, const uint8_t* row1, int weight);
};

// Sampling is inline: the rasteriser calls it once a pixel.
namespace texture_detail {

// Linear weights are taken to 1/256, as the GL's 8-bit filtering takes them.
constexpr int kWeightBits = 8;
constexpr int kWeightOne = 1 << kWeightBits;

inline int wrapRepeat(int i, int size)
{
    const int r = i % size;
    return r < 0 ? r + size : r;
}

// Index of the texel a nearest sample at coordinate c takes.
inline int nearestIndex(float c, int size, TextureWrap wrap)
{
    if (wrap == TextureWrap::Repeat)
        return wrapRepeat(static_cast<int>(std::floor(c * static_cast<float>(size))), size);
    const float clamped = c < 0.0f ? 0.0f : (c > 1.0f ? 1.0f : c);
    const int i = static_cast<int>(std::floor(clamped * static_cast<float>(size)));
    return i >= size ? size - 1 : i;
}

// The two texels a linear sample at c mixes, and the weight of the second;
// an index of -1 is the border.
struct LinearPair {
    int i0, i1, weight;
};

inline LinearPair linearPair(float c, int size, TextureWrap wrap)
{
    float u = c;
    if (wrap == TextureWrap::Clamp)
        u = u < 0.0f ? 0.0f : (u > 1.0f ? 1.0f : u);
    u = u * static_cast<float>(size) - 0.5f;
    const float base = std::floor(u);
    const int weight = static_cast<int>((u - base) * kWeightOne);
    int i0 = static_cast<int>(base);
    int i1 = i0 + 1;
    if (wrap == TextureWrap::Repeat) {
        i0 = wrapRepeat(i0, size);
        i1 = wrapRepeat(i1, size);
    } else {
        i0 = i0 < 0 || i0 >= size ? -1 : i0;
        i1 = i1 < 0 || i1 >= size ? -1 : i1;
    }
    return {i0, i1, weight};
}

inline uint32_t lerpChannel(uint32_t a, uint32_t b, int weight)
{
    return (a * static_cast<uint32_t>(kWeightOne - weight) + b * static_cast<uint32_t>(weight) + kWeightOne / 2) >>
           kWeightBits;
}

inline uint32_t lerpRgba(uint32_t a, uint32_t b, int weight)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= lerpChannel((a >> shift) & 0xFF, (b >> shift) & 0xFF, weight) << shift;
    return out;
}

}  // namespace texture_detail

struct CpuTexture::Pair : texture_detail::LinearPair {};

inline CpuTexture::Pair CpuTexture::ColumnPair(float s) const { return {texture_detail::linearPair(s, width, wrap)}; }

inline CpuTexture::Pair CpuTexture::RowPair(float t) const { return {texture_detail::linearPair(t, height, wrap)}; }

inline uint32_t CpuTexture::LinearAlpha(const Pair& u, const uint8_t* row0, const uint8_t* row1, int weight)
{
    auto at = [](const uint8_t* row, int i) -> uint32_t { return row && i >= 0 ? row[i] : 0u; };
    return texture_detail::lerpChannel(texture_detail::lerpChannel(at(row0, u.i0), at(row0, u.i1), u.weight),
                                       texture_detail::lerpChannel(at(row1, u.i0), at(row1, u.i1), u.weight),
                                       weight);
}

inline uint32_t CpuTexture::LinearAlpha(const Pair& u, const Pair& v) const
{
    return LinearAlpha(u, AlphaRow(v.i0), AlphaRow(v.i1), v.weight);
}

inline uint32_t CpuTexture::SampleAlpha(float s, float t) const
{
    if (format == TexelFormat::Rgba)
        return alphaOf(Sample(s, t));
    if (filter == TextureFilter::Nearest) {
        const int i = texture_detail::nearestIndex(s, width, wrap);
        const int j = oneDimensional ? 0 : texture_detail::nearestIndex(t, height, wrap);
        return alpha[static_cast<size_t>(j) * width + i];
    }
    auto at = [&](int i, int j) -> uint32_t {
        return i < 0 || j < 0 ? 0u : alpha[static_cast<size_t>(j) * width + i];
    };
    const Pair u = ColumnPair(s);
    if (oneDimensional)
        return texture_detail::lerpChannel(at(u.i0, 0), at(u.i1, 0), u.weight);
    return LinearAlpha(u, RowPair(t));
}

inline uint32_t CpuTexture::Sample(float s, float t) const
{
    if (format == TexelFormat::Alpha)
        return withAlpha(0xFFFFFFFFu, SampleAlpha(s, t));
    if (filter == TextureFilter::Nearest) {
        const int i = texture_detail::nearestIndex(s, width, wrap);
        const int j = oneDimensional ? 0 : texture_detail::nearestIndex(t, height, wrap);
        return rgba[static_cast<size_t>(j) * width + i];
    }
    auto at = [&](int i, int j) -> uint32_t {
        return i < 0 || j < 0 ? 0u : rgba[static_cast<size_t>(j) * width + i];
    };
    const texture_detail::LinearPair u = texture_detail::linearPair(s, width, wrap);
    if (oneDimensional)
        return texture_detail::lerpRgba(at(u.i0, 0), at(u.i1, 0), u.weight);
    const texture_detail::LinearPair v = texture_detail::linearPair(t, height, wrap);
    return texture_detail::lerpRgba(texture_detail::lerpRgba(at(u.i0, v.i0), at(u.i1, v.i0), u.weight),
                    texture_detail::lerpRgba(at(u.i0, v.i1), at(u.i1, v.i1), u.weight), v.weight);
}

}  // namespace cpu
