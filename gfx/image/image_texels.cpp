#include "image_texels.h"

#include <cstring>

uint32_t nextPowerOfTwo(uint32_t n)
{
    if (n == 0 || n > (1u << 30))
        return 0;
    uint32_t v = n - 1;
    v |= v >> 1;
    v |= v >> 2;
    v |= v >> 4;
    v |= v >> 8;
    v |= v >> 16;
    return v + 1;
}

bool textureSizeFor(int width, int height, int maxSide, TextureSize* size)
{
    if (width <= 0 || height <= 0)
        return false;
    const uint32_t w = nextPowerOfTwo(static_cast<uint32_t>(width));
    const uint32_t h = nextPowerOfTwo(static_cast<uint32_t>(height));
    const uint32_t limit = maxSide > 0 ? static_cast<uint32_t>(maxSide) : 0;
    if (w == 0 || h == 0 || w > limit || h > limit)
        return false;
    *size = {static_cast<int>(w), static_cast<int>(h)};
    return true;
}

size_t textureBytes(const TextureSize& size)
{
    return static_cast<size_t>(size.width) * static_cast<size_t>(size.height) * 4;
}

namespace {

struct ColorKey {
    bool enabled;
    uint8_t r, g, b;
};

ColorKey colorKeyOf(const ImageSpec& entry)
{
    // 0x00BBGGRR: red in the low byte.
    return {entry.colorKeyEnabled != 0, static_cast<uint8_t>(entry.colorKey & 0xFF),
            static_cast<uint8_t>((entry.colorKey >> 8) & 0xFF), static_cast<uint8_t>((entry.colorKey >> 16) & 0xFF)};
}

bool keyedOut(const ColorKey& key, const uint8_t* pixel)
{
    return key.enabled && pixel[0] == key.r && pixel[1] == key.g && pixel[2] == key.b;
}

}  // namespace

void buildImageTexels(const uint8_t* rgba, int width, int height, const ImageSpec& entry,
                      const TextureSize& size, uint8_t* texels)
{
    std::memset(texels, 0, textureBytes(size));
    const ColorKey key = colorKeyOf(entry);
    const size_t rowBytes = static_cast<size_t>(size.width) * 4;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = rgba + static_cast<size_t>(y) * width * 4;
        uint8_t* out = texels + static_cast<size_t>(y) * rowBytes;
        for (int x = 0; x < width; ++x, in += 4, out += 4)
            if (!keyedOut(key, in))
                std::memcpy(out, in, 4);
    }
}
