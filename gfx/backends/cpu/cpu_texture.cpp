#include "cpu_texture.h"

#include <cmath>
#include <cstring>

#include "pixel_ops.h"

namespace cpu {

namespace {

// Linear weights are taken to 1/256, as the GL's 8-bit filtering takes them.
constexpr int kWeightBits = 8;
constexpr int kWeightOne = 1 << kWeightBits;

int wrapRepeat(int i, int size)
{
    const int r = i % size;
    return r < 0 ? r + size : r;
}

// Index of the texel a nearest sample at coordinate c takes.
int nearestIndex(float c, int size, TextureWrap wrap)
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

LinearPair linearPair(float c, int size, TextureWrap wrap)
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

uint32_t lerpChannel(uint32_t a, uint32_t b, int weight)
{
    return (a * static_cast<uint32_t>(kWeightOne - weight) + b * static_cast<uint32_t>(weight) + kWeightOne / 2) >>
           kWeightBits;
}

uint32_t lerpRgba(uint32_t a, uint32_t b, int weight)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= lerpChannel((a >> shift) & 0xFF, (b >> shift) & 0xFF, weight) << shift;
    return out;
}

}  // namespace

void CpuTexture::Define(TexelFormat f, int w, int h, const void* texels)
{
    format = f;
    width = w;
    height = h;
    const size_t count = static_cast<size_t>(w) * h;
    if (f == TexelFormat::Alpha) {
        alpha.resize(count);
        rgba.clear();
        if (texels)
            std::memcpy(alpha.data(), texels, count);
        else
            std::memset(alpha.data(), 0, count);
    } else {
        rgba.resize(count);
        alpha.clear();
        if (texels)
            std::memcpy(rgba.data(), texels, count * 4);
        else
            std::memset(rgba.data(), 0, count * 4);
    }
}

bool CpuTexture::Update(int x, int y, int w, int h, const void* texels)
{
    if (x < 0 || y < 0 || w < 0 || h < 0 || x > width - w || y > height - h)
        return false;
    const size_t texelBytes = format == TexelFormat::Alpha ? 1 : 4;
    auto* base = format == TexelFormat::Alpha ? alpha.data() : reinterpret_cast<uint8_t*>(rgba.data());
    const auto* from = static_cast<const uint8_t*>(texels);
    for (int row = 0; row < h; ++row)
        std::memcpy(base + (static_cast<size_t>(y + row) * width + x) * texelBytes,
                    from + static_cast<size_t>(row) * w * texelBytes, static_cast<size_t>(w) * texelBytes);
    return true;
}

uint32_t CpuTexture::SampleAlpha(float s, float t) const
{
    if (format == TexelFormat::Rgba)
        return alphaOf(Sample(s, t));
    if (filter == TextureFilter::Nearest) {
        const int i = nearestIndex(s, width, wrap);
        const int j = oneDimensional ? 0 : nearestIndex(t, height, wrap);
        return alpha[static_cast<size_t>(j) * width + i];
    }
    auto at = [&](int i, int j) -> uint32_t {
        return i < 0 || j < 0 ? 0u : alpha[static_cast<size_t>(j) * width + i];
    };
    const LinearPair u = linearPair(s, width, wrap);
    if (oneDimensional)
        return lerpChannel(at(u.i0, 0), at(u.i1, 0), u.weight);
    const LinearPair v = linearPair(t, height, wrap);
    return lerpChannel(lerpChannel(at(u.i0, v.i0), at(u.i1, v.i0), u.weight),
                       lerpChannel(at(u.i0, v.i1), at(u.i1, v.i1), u.weight), v.weight);
}

uint32_t CpuTexture::Sample(float s, float t) const
{
    if (format == TexelFormat::Alpha)
        return withAlpha(0xFFFFFFFFu, SampleAlpha(s, t));
    if (filter == TextureFilter::Nearest) {
        const int i = nearestIndex(s, width, wrap);
        const int j = oneDimensional ? 0 : nearestIndex(t, height, wrap);
        return rgba[static_cast<size_t>(j) * width + i];
    }
    auto at = [&](int i, int j) -> uint32_t {
        return i < 0 || j < 0 ? 0u : rgba[static_cast<size_t>(j) * width + i];
    };
    const LinearPair u = linearPair(s, width, wrap);
    if (oneDimensional)
        return lerpRgba(at(u.i0, 0), at(u.i1, 0), u.weight);
    const LinearPair v = linearPair(t, height, wrap);
    return lerpRgba(lerpRgba(at(u.i0, v.i0), at(u.i1, v.i0), u.weight),
                    lerpRgba(at(u.i0, v.i1), at(u.i1, v.i1), u.weight), v.weight);
}

}  // namespace cpu
