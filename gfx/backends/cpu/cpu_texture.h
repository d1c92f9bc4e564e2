// Textures as the GL samples them under the library's settings: alpha
// (dash patterns, glyph pages) or RGBA (images) texels; nearest or linear
// filtering; GL_CLAMP (a linear sample near the edge takes in the
// transparent border) or GL_REPEAT; one-dimensional patterns ignore t.
#pragma once

#include <cstdint>
#include <vector>

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
};

}  // namespace cpu
