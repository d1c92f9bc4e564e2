// The texture image of a decoded picture: power-of-two sides, the picture
// in the top left (texture row 0 is its top row), transparent padding.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gr.h"

// The next power of two >= n (n itself when it is one), for 1 <= n <= 2^30;
// 0 outside that range.
uint32_t nextPowerOfTwo(uint32_t n);

struct TextureSize {
    int width, height;
};

// The texture size for a width x height picture; false when a side is not
// positive or its texture would exceed maxSide texels.
bool textureSizeFor(int width, int height, int maxSide, TextureSize* size);

// Bytes of an RGBA8 texture of that size.
size_t textureBytes(const TextureSize& size);

// Writes the texture's RGBA8 texels (textureBytes(size) of them) from the
// picture's rows, top first, 4 bytes R, G, B, A a pixel. With the key on,
// pixels whose R, G and B match it become four zero bytes.
void buildImageTexels(const uint8_t* rgba, int width, int height, const ImageSpec& entry,
                      const TextureSize& size, uint8_t* texels);
