// Uploading a texture image to GL.
#pragma once

#include <cstdint>

#include "gl.h"
#include "image_texels.h"

// The largest texture side the current context accepts.
int maxTextureSide();

// Creates a GL_RGBA 2-D texture from texels (RGBA8, row 0 first) into *name;
// false, with no texture left behind, when GL reports an error.
bool uploadImageTexture(const uint8_t* texels, const TextureSize& size, GLuint* name);
