// Handing an image's texels to the backend.
#pragma once

#include <cstdint>

#include "backends/backend.h"
#include "image_texels.h"

// The largest texture side the backend accepts.
int maxTextureSide();

// Creates an RGBA texture from texels (RGBA8, row 0 first) into *name;
// false, with no texture left behind, when the backend refuses it.
bool uploadImageTexture(const uint8_t* texels, const TextureSize& size, TextureHandle* name);
