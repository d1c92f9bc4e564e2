// The off-screen buffers a headless frame is drawn into. Mesa's surfaceless
// pbuffers report samples without rendering with them, and keep the stencil
// in one word with a depth buffer the display never uses, so that clearing
// the stencil alone rewrites every pixel's word around its depth. The frame
// goes to a colour buffer and a stencil-only buffer of the configuration's
// samples instead, and is made readable at its end.
#pragma once

#include <GL/gl.h>

#include <string>

class EglFrameTarget {
public:
    EglFrameTarget() = default;
    EglFrameTarget(const EglFrameTarget&) = delete;
    EglFrameTarget& operator=(const EglFrameTarget&) = delete;

    // Creates the buffers in the current context and binds them for drawing
    // and reading; false with the reason in *error. packedStencil asks for
    // stencil packed with depth even where stencil alone is to be had (to
    // measure what stencil alone buys).
    bool Create(int width, int height, int samples, bool packedStencil, std::string* error);
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
