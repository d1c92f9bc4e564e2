// The drawing library's global state. There is exactly one instance,
// g_draw, used from the thread that owns the GL context; nothing locks it.
#pragma once

#include "backends/backend.h"
#include "gr.h"

struct PatternTexture {
    TextureHandle name;  // 0 until the texture is created
    float length;  // pattern length in texels (units of line length)
};

struct ClipState {
    int halfPlaneActive, halfPlaneSide, halfPlaneValue;
    int rectActive, rectX1, rectY1, rectX2, rectY2;
    int stencilActive, stencilMode, stencilRef;
};

// A growable array of float pairs; capacity is counted in pairs.
struct ScratchBuffer {
    float* data;
    int capacity;
};

struct DrawState {
    GrTables tables;

    const GrColor* color;        // null until grSetColor
    const GrColor* borderColor;  // null until grSetBorderColor
    float lineWidth;
    float borderWidth;
    int font;
    int image;
    int alignHorizontal;
    int alignVertical;

    int antialias;
    int fill;
    int border;

    const LinePattern* pattern;            // null: none selected this frame
    PatternTexture* patternTexture;        // null: outlines have no texture
    float patternPhase;                    // texture coordinate carried along a polyline
    PatternTexture patternTextures[GR_MAX_PATTERNS];

    float matrixStack[GR_MAX_MATRIX_DEPTH][16];
    int matrixIndex;  // -1 = empty

    ClipState clip;
    ClipState clipStack[GR_MAX_CLIP_DEPTH];
    int clipIndex;  // -1 = empty; counts on past the stack while pushes are ignored

    ScratchBuffer vertexScratch;
    ScratchBuffer texCoordScratch;
    float scratchGrowth;

    GrDiagnostics diagnostics;
    GrCounters counters;
};

extern DrawState g_draw;

// Counts the errors the backend has queued in grDiagnostics().glErrors;
// where labels the point for a debugger.
void grCheckGlErrors(const char* where);

// Checks for errors at a labelled point in debug builds (GR_CHECK_GL_ERRORS).
#if defined(GR_CHECK_GL_ERRORS)
#define GR_CHECK_GL(where) grCheckGlErrors(where)
#else
#define GR_CHECK_GL(where) ((void)0)
#endif

// The shift grSetProjection put into the modelview: hit-testing takes it
// out, as the display's units do not include it.
float projectionPixelOffset();

// Starts the selected backend in the current context (grInit); false with
// the reason kept for grBackendError.
bool startBackend();

// Puts every selection of the drawing state (colours, widths, font, image,
// pattern, alignment, fill and border switches) back to the state the
// process starts with.
void resetSelections();

// True when the pattern table holds entries the library manages textures for.
bool patternTableInUse();
