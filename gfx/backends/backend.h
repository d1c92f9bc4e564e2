// The seam between the drawing library and the graphics API that draws its
// pixels. Primitives compute their exact geometry once, on the processor,
// and hand finished vertices and plain state across this line; a backend
// turns them into API calls (OpenGL 1.1, the programmable GLs) or into
// pixels itself (a rasteriser on the processor). Nothing here names a GL
// type: vertices are float pairs in processor memory, colours bytes,
// matrices and planes plain numbers, textures opaque handles whose texels
// are handed over whole.
//
// The entries mirror the state changes the library makes, in the order it
// makes them, so that a backend which forwards them one to one (gl1) issues
// exactly the calls the library always issued. A backend that records state
// instead applies it when it draws.
#pragma once

#include <cstdint>
#include <memory>

#include "gr.h"

// A texture of the backend's; 0 is no texture.
using TextureHandle = unsigned int;

// How count vertices make triangles, as the GL's modes of the same names.
enum class Primitive { Triangles, TriangleStrip, TriangleFan };

// What a texture holds; fixed when it is created.
enum class TextureFormat {
    PatternAlpha,  // a dash pattern: width x 1 coverage bytes, sampled along the line by s
    ImageRgba,     // an image: RGBA bytes, row 0 first, sampled as colour
    GlyphAlpha,    // a glyph page: coverage bytes, sampled as alpha of the draw colour
};

// The two texture slots a draw can sample: the dash pattern (1-D along the
// line), or a 2-D texture (an image or a glyph page).
enum class TextureSlot { Pattern, Surface };

// The switches a draw depends on.
enum class Capability {
    Blend,            // source alpha over the target
    PatternTexture,   // sample the pattern slot by s, coverage times colour
    SurfaceTexture,   // sample the surface slot by (s, t), texel times colour
    TexCoords,        // the draws carry texture coordinates
    Antialias,        // multisampling for this draw, where the backend can switch it per draw
};

enum class TextureFilter { Nearest, Linear };
enum class TextureWrap { Clamp, Repeat };

// The stencil mechanism of the clip stack: Write stores ref wherever a
// draw covers and draws nothing; Test draws only where the stencil holds ref.
enum class StencilMode { Write, Test };

// Number of clip planes the library uses: the half-plane is plane 0, the
// rectangle planes 0..3.
constexpr int kClipPlaneCount = 4;

// One draw. xy holds count (x, y) pairs in the coordinates of the current
// modelview; st, when not null, as many texture coordinate pairs. An
// untinted draw shows the texels' own colours (images); otherwise the
// vertices carry color, opaque.
struct DrawCall {
    Primitive primitive;
    const float* xy;
    const float* st;
    int count;
    GrColor color;
    bool untinted;
};

class Backend {
public:
    virtual ~Backend() = default;

    // The name hosts select it by ("gl1", "es3", ...).
    virtual const char* name() const = 0;

    // --- Life cycle --------------------------------------------------------
    // A new context is current (grInit): forget everything known of the old
    // one and prepare what draws need. Null, or why the context cannot
    // serve this backend (valid until the next start).
    virtual const char* start() = 0;
    // Draws what is collected and leaves the target as unbatched drawing
    // leaves it, before textures are released (grShutdown).
    virtual void settle() = 0;
    // Frees what start prepared; the context is still current (grShutdown).
    virtual void stop() = 0;
    // Resets everything a frame depends on to the frame baseline: no
    // texturing, no blending, no stencil, antialiasing off (grBeginFrame).
    virtual void beginFrame() = 0;
    // Everything of the frame reaches the target (grEndFrame).
    virtual void endFrame() = 0;
    // Draws what is collected and makes the target hold every recorded
    // switch; called before batched mode is switched on or off.
    virtual void syncState() = 0;
    // Errors the API has queued since the last call, counted and forgotten.
    virtual int drainErrors() = 0;

    // --- The frame -----------------------------------------------------------
    // Viewport of width x height pixels and an orthographic projection of
    // the given box (glOrtho's arguments), applied to coordinates first
    // turned by quarterTurns clockwise quarter turns (0..3, a display on a
    // panel mounted on its side); the modelview becomes identity.
    virtual void setProjection(int width, int height, const double box[6], int quarterTurns) = 0;
    // Clears the colour to rgba (0..1) and the stencil to 0.
    virtual void clearFrame(const float rgba[4]) = 0;
    // Clears the stencil to 0 (a new clip mask).
    virtual void clearStencil() = 0;
    // Reads width x height RGBA pixels from the lower left corner of the
    // drawn frame, bottom row first; false when the target cannot be read.
    virtual bool readPixels(int width, int height, uint8_t* rgba) = 0;

    // --- The modelview -------------------------------------------------------
    // Column-major 4 x 4 matrices, as OpenGL stores them.
    virtual void getModelview(float out[16]) = 0;
    virtual void loadModelview(const float matrix[16]) = 0;
    virtual void translate(float x, float y) = 0;
    virtual void rotate(float degrees) = 0;  // about z, counter-clockwise
    virtual void scale(float sx, float sy) = 0;

    // --- Clipping ------------------------------------------------------------
    // Called before any of the clip entries below: draws collected under the
    // old clip go out first.
    virtual void clipWillChange() = 0;
    // Plane index keeps the points p with a*x + b*y + c*z + d >= 0, p taken
    // in the modelview current at this call (as glClipPlane).
    virtual void setClipPlane(int index, const double equation[4]) = 0;
    virtual void enableClipPlane(int index, bool on) = 0;
    virtual void setStencil(StencilMode mode, int ref) = 0;
    virtual void disableStencil() = 0;

    // --- Textures --------------------------------------------------------
    // Largest side a texture may have.
    virtual int maxTextureSide() = 0;
    // A texture of width x height texels of format; texels null gives an
    // all-zero texture (glyph pages start empty). 0 when refused, with no
    // texture left behind.
    virtual TextureHandle createTexture(TextureFormat format, int width, int height, const uint8_t* texels) = 0;
    // Writes w x h texels at (x, y) of a glyph page.
    virtual void updateTexture(TextureHandle texture, int x, int y, int w, int h, const uint8_t* texels) = 0;
    // Deletes a texture of the backend's; a handle it does not know is ignored.
    virtual void deleteTexture(TextureHandle texture) = 0;
    // Selects the texture a slot samples, and how it samples it.
    virtual void bindTexture(TextureSlot slot, TextureHandle texture) = 0;
    virtual void setTextureFilter(TextureSlot slot, TextureFilter filter) = 0;
    virtual void setTextureWrap(TextureSlot slot, TextureWrap wrap) = 0;

    // --- Drawing -------------------------------------------------------------
    virtual void setCapability(Capability capability, bool on) = 0;
    // Draws (or collects, in batched mode) under the current state.
    virtual void draw(const DrawCall& call) = 0;
};

// What the library offers its backends.
// Whether draws are collected (batched mode) rather than issued one by one.
bool batching();
// The library's running totals of backend work (grCounters).
void countDraw(int vertices);
void countTextureUpload();

// Where a backend's GL entry points come from, for backends that load them.
using ProcLoader = void* (*)(const char* name);

// The backend the library draws through; gl1 until a host selects another.
Backend& backend();
