// A multisampled off-screen colour and stencil buffer for headless contexts,
// whose pbuffers may report samples without ever rendering with them: the
// frame is drawn into it and resolved into a single-sampled buffer that
// read-back then sees.
#pragma once

#include <GL/gl.h>

#include <string>

class EglMultisampleTarget {
public:
    EglMultisampleTarget() = default;
    EglMultisampleTarget(const EglMultisampleTarget&) = delete;
    EglMultisampleTarget& operator=(const EglMultisampleTarget&) = delete;

    // Creates the buffers in the current context and binds the multisampled
    // one for drawing; false with the reason in *error.
    bool Create(int width, int height, int samples, std::string* error);
    // Resolves the drawn samples into the read buffer; drawing stays bound to
    // the multisampled buffer.
    void Resolve();
    // Deletes the buffers; the context that created them must be current.
    void Destroy();
    // Forgets the buffers of a context that is gone or not current; deleting
    // the context frees them.
    void Abandon();
    bool Exists() const { return framebuffers_[kSamples] != 0; }

private:
    // The frame is drawn into kSamples (with a stencil buffer of the same
    // samples), resolved into kResolved and turned upright into kUpright.
    enum Buffer { kSamples, kResolved, kUpright, kBufferCount };

    int width_ = 0;
    int height_ = 0;
    bool flipped_ = false;
    GLuint framebuffers_[kBufferCount] = {};
    GLuint colorbuffers_[kBufferCount] = {};
    GLuint stencilbuffer_ = 0;
};
