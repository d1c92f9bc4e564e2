#include "egl_frame_target.h"

#include <EGL/egl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Framebuffer objects are not OpenGL 1.1: their entry points are looked up
// in the current context.
struct FramebufferFunctions {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
    PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC renderbufferStorageMultisample;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer;
    PFNGLCLIPCONTROLPROC clipControl;  // optional
};

FramebufferFunctions fb;

template <typename Function>
bool load(Function* function, const char* name)
{
    *function = reinterpret_cast<Function>(eglGetProcAddress(name));
    return *function != nullptr;
}

bool loadFramebufferFunctions()
{
    load(&fb.clipControl, "glClipControl");
    return load(&fb.genFramebuffers, "glGenFramebuffers") &&
           load(&fb.deleteFramebuffers, "glDeleteFramebuffers") &&
           load(&fb.bindFramebuffer, "glBindFramebuffer") &&
           load(&fb.genRenderbuffers, "glGenRenderbuffers") &&
           load(&fb.deleteRenderbuffers, "glDeleteRenderbuffers") &&
           load(&fb.bindRenderbuffer, "glBindRenderbuffer") &&
           load(&fb.renderbufferStorageMultisample, "glRenderbufferStorageMultisample") &&
           load(&fb.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           load(&fb.checkFramebufferStatus, "glCheckFramebufferStatus") &&
           load(&fb.blitFramebuffer, "glBlitFramebuffer");
}

// Whether the current context is OpenGL ES.
bool isEs()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version && std::strncmp(version, "OpenGL ES ", 10) == 0;
}

// The context's version as major * 10 + minor, 0 when unreadable.
int glVersion()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    int minor = 0;
    if (version && isEs())
        version += 10;
    if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2)
        return 0;
    return major * 10 + minor;
}

bool hasExtension(const char* name)
{
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions && std::string(extensions).find(name) != std::string::npos;
}

}  // namespace

bool EglFrameTarget::Create(int width, int height, int samples, bool packedStencil, std::string* error)
{
    Destroy();
    const int version = glVersion();
    // OpenGL ES 3 has everything below; ES 2 lacks multisampled buffers.
    const bool es = isEs();
    if ((version < 30 && (es || !hasExtension("GL_ARB_framebuffer_object"))) || !loadFramebufferFunctions()) {
        *error = "EGL: headless drawing needs framebuffer objects, which this OpenGL lacks";
        return false;
    }
    width_ = width;
    height_ = height;
    samples_ = samples;
    // Window buffers are stored top row first and the rasteriser places
    // pixel centres and samples in stored rows; drawing upside down the same
    // way gives the window's very pixels. Read-back turns them upright.
    if (es && hasExtension("GL_EXT_clip_control"))
        load(&fb.clipControl, "glClipControlEXT");
    flipped_ = fb.clipControl &&
               (es ? hasExtension("GL_EXT_clip_control") : version >= 45 || hasExtension("GL_ARB_clip_control"));
    if (samples == 0 && !flipped_) {
        // The pbuffer itself is stored as a window is and does as well.
        *error = "EGL: drawing upside down needs glClipControl, which this OpenGL lacks";
        return false;
    }
    bool complete = true;
    for (int i = 0; i < kBufferCount; ++i) {
        if (i == kResolved && samples == 0)
            continue;
        fb.genRenderbuffers(1, &colorbuffers_[i]);
        fb.bindRenderbuffer(GL_RENDERBUFFER, colorbuffers_[i]);
        fb.renderbufferStorageMultisample(GL_RENDERBUFFER, i == kDrawn ? samples : 0, GL_RGBA8, width, height);
        fb.genFramebuffers(1, &framebuffers_[i]);
        fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffers_[i]);
        fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorbuffers_[i]);
        if (i == kDrawn)
            complete = AttachStencil(samples, packedStencil);
        complete = complete && fb.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    fb.bindRenderbuffer(GL_RENDERBUFFER, 0);
    GLint granted = -1;
    fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffers_[kDrawn]);
    glGetIntegerv(GL_SAMPLES, &granted);
    if (!complete || glGetError() != GL_NO_ERROR || granted < samples) {
        *error = "EGL: cannot create a " + std::to_string(samples) + "-sample off-screen buffer of " +
                 std::to_string(width) + " x " + std::to_string(height) + " pixels";
        Destroy();
        return false;
    }
    if (flipped_)
        fb.clipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers_[Readable()]);
    return true;
}

// Stencil alone where the driver has it: the frame clears colour and
// stencil only, and a packed depth beside the stencil turns that clear into
// a read-modify-write of every sample.
bool EglFrameTarget::AttachStencil(int samples, bool packedStencil)
{
    fb.genRenderbuffers(1, &stencilbuffer_);
    fb.bindRenderbuffer(GL_RENDERBUFFER, stencilbuffer_);
    if (!packedStencil) {
        fb.renderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_STENCIL_INDEX8, width_, height_);
        fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, stencilbuffer_);
        GLint stencilBits = 0;
        if (glGetError() == GL_NO_ERROR && fb.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE)
            glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
        if (stencilBits >= 8) {
            stencilOnly_ = true;
            return true;
        }
        fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
    }
    fb.renderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, width_, height_);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, stencilbuffer_);
    stencilOnly_ = false;
    return glGetError() == GL_NO_ERROR;
}

EglFrameTarget::Buffer EglFrameTarget::Readable() const { return samples_ > 0 ? kResolved : kDrawn; }

void EglFrameTarget::Resolve()
{
    if (!Exists() || samples_ == 0)
        return;
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers_[kDrawn]);
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers_[kResolved]);
    fb.blitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers_[kResolved]);
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers_[kDrawn]);
}

void EglFrameTarget::Destroy()
{
    if (Exists()) {
        fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
        if (flipped_)
            fb.clipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
        for (int i = 0; i < kBufferCount; ++i) {
            if (framebuffers_[i])
                fb.deleteFramebuffers(1, &framebuffers_[i]);
            if (colorbuffers_[i])
                fb.deleteRenderbuffers(1, &colorbuffers_[i]);
        }
        fb.deleteRenderbuffers(1, &stencilbuffer_);
    }
    Abandon();
}

void EglFrameTarget::Abandon()
{
    for (int i = 0; i < kBufferCount; ++i)
        framebuffers_[i] = colorbuffers_[i] = 0;
    stencilbuffer_ = 0;
    samples_ = 0;
    flipped_ = false;
    stencilOnly_ = false;
}
