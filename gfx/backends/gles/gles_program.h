// The shader backend's one program: a single GLSL source behind a version
// prelude for each dialect.
#pragma once

#include "gles_api.h"

enum class GlslDialect {
    Es100,  // OpenGL ES 2, WebGL 1
    Es300,  // OpenGL ES 3, WebGL 2
    Core330,
};

// What the fragment stage does with a draw.
enum class FragmentMode {
    Flat = 0,     // the vertex colour
    Pattern = 1,  // colour, alpha times the dash pattern's coverage at s
    Image = 2,    // colour times the texel
    Glyph = 3,    // colour, alpha times the glyph page's coverage
};

// Vertex attribute locations.
enum : GLuint { kPositionAttribute = 0, kTexCoordAttribute = 1, kColorAttribute = 2 };

struct GlesProgram {
    GLuint name = 0;
    GLint mode = -1;            // FragmentMode
    GLint patternWidth = -1;    // texels of the bound pattern (wrap done in the shader)
    GLint patternLinear = -1;   // 1: the shader filters the pattern linearly
    GLint patternSampler = -1;
    GLint surfaceSampler = -1;
};

// Compiles and links the program for dialect; null, or why not (the
// compiler's log, kept until the next call).
const char* buildGlesProgram(const GlesApi& gl, GlslDialect dialect, GlesProgram* program);
