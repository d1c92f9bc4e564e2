#pragma once

#include "gl.h"

// GL_LINEAR while antialiasing is on, else GL_NEAREST, for the texture bound
// to target (min filter first, then mag filter).
void applyTextureFilter(GLenum target);
