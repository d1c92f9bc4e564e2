// The off-screen buffers a headless frame is drawn into, on every platform.
// Mesa's surfaceless pbuffers (EGL) and a hidden window's drawable under
// Wine (WGL) report samples without rendering with them; the pbuffers keep
// the stencil in one word with a depth buffer the display never uses, so
// that clearing the stencil alone rewrites every pixel's word around its
// depth. The frame goes to a colour buffer and a stencil-only buffer of the
// configuration's samples instead, drawn upside down as a window stores it,
// and is made readable at its end.
#pragma once

#include <GL/gl.h>

#include <string>

// The platform's lookup of GL entry points in the current context
// (eglGetProcAddress, wglGetProcAddress); null for a missing one.
using GlProcLookup = void* (*)(const char* name);

class FrameTarget {
public:
    FrameTarget() = default;
    FrameTarget(const FrameTarget&) = delete;
    FrameTarget& operator=(const FrameTarget&) = delete;

    // Creates the buffers in the current context and binds them for drawing
    // and reading; false with the reason in *error. The buffers must be
    // complete, of the size asked (no larger than the GL's limits) and of at
    // least samples samples. packedStencil asks for stencil packed with depth
    // even where stencil alone is to be had (to measure what stencil alone
    // buys).
    bool Create(int width, int height, int samples, bool packedStencil, GlProcLookup lookup, std::string* error);
    // Whether the current context has what Create needs: framebuffer objects
    // and, without samples, drawing upside down.
    static bool Available(int samples, GlProcLookup lookup);
    // Makes the drawn frame the one read-back sees (resolving its samples);
    // drawing stays bound to the frame's buffers.
    void Resolve();
    // Deletes the buffers; the context that created them must be current.
    void Destroy();
    // Forgets the buffers of a context that is gone or not current; deleting
    // the context frees them.
    void Abandon();
    bool Exists() const { return framebuffers_[kDrawn] != 0; }
    // Whether the frame is stored top row first, as in a window: read-back
    // turns it upright.
    bool TopRowFirst() const { return flipped_; }
    // Whether the stencil buffer has no depth beside it; a driver without
    // stencil-only buffers gets packed depth and stencil.
    bool StencilOnly() const { return stencilOnly_; }

private:
    // The frame is drawn into kDrawn; a multisampled one is resolved into
    // kResolved.
    enum Buffer { kDrawn, kResolved, kBufferCount };

    bool AttachStencil(int samples, bool packedStencil);
    // The buffer read-back sees once the frame is resolved.
    Buffer Readable() const;

    int width_ = 0;
    int height_ = 0;
    int samples_ = 0;
    bool flipped_ = false;
    bool stencilOnly_ = false;
    GLuint framebuffers_[kBufferCount] = {};
    GLuint colorbuffers_[kBufferCount] = {};
    GLuint stencilbuffer_ = 0;
};
