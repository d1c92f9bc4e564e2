#include "cpu_texture.h"

#include <cstring>

namespace cpu {

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

}  // namespace cpu
