#include "egl_multisample_target.h"

#include <EGL/egl.h>
#include <GL/glext.h>

#include <cstdio>
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

// The context's version as major * 10 + minor, 0 when unreadable.
int glVersion()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    int minor = 0;
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

bool EglMultisampleTarget::Create(int width, int height, int samples, std::string* error)
{
    Destroy();
    const int version = glVersion();
    if ((version < 30 && !hasExtension("GL_ARB_framebuffer_object")) || !loadFramebufferFunctions()) {
        *error = "EGL: multisampling headless needs framebuffer objects, which this OpenGL lacks";
        return false;
    }
    width_ = width;
    height_ = height;
    fb.genRenderbuffers(kBufferCount, colorbuffers_);
    fb.genRenderbuffers(1, &stencilbuffer_);
    fb.genFramebuffers(kBufferCount, framebuffers_);
    bool complete = true;
    for (int i = 0; i < kBufferCount; ++i) {
        fb.bindRenderbuffer(GL_RENDERBUFFER, colorbuffers_[i]);
        fb.renderbufferStorageMultisample(GL_RENDERBUFFER, i == kSamples ? samples : 0, GL_RGBA8, width, height);
        fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffers_[i]);
        fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorbuffers_[i]);
        if (i == kSamples) {
            fb.bindRenderbuffer(GL_RENDERBUFFER, stencilbuffer_);
            fb.renderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, width, height);
            fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                       stencilbuffer_);
        }
        complete = complete && fb.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    fb.bindRenderbuffer(GL_RENDERBUFFER, 0);
    GLint granted = 0;
    fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffers_[kSamples]);
    glGetIntegerv(GL_SAMPLES, &granted);
    if (!complete || glGetError() != GL_NO_ERROR || granted < samples) {
        *error = "EGL: cannot create a " + std::to_string(samples) + "-sample off-screen buffer of " +
                 std::to_string(width) + " x " + std::to_string(height) + " pixels";
        Destroy();
        return false;
    }
    // Window buffers are stored top row first and the rasteriser places the
    // samples in stored rows; drawing upside down the same way gives the
    // window's very pixels, turned upright after the resolve.
    flipped_ = fb.clipControl && (version >= 45 || hasExtension("GL_ARB_clip_control"));
    if (flipped_)
        fb.clipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers_[kUpright]);
    return true;
}

void EglMultisampleTarget::Resolve()
{
    if (!Exists())
        return;
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers_[kSamples]);
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers_[kResolved]);
    fb.blitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers_[kResolved]);
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers_[kUpright]);
    const int top = flipped_ ? height_ : 0;
    fb.blitFramebuffer(0, 0, width_, height_, 0, top, width_, height_ - top, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers_[kUpright]);
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers_[kSamples]);
}

void EglMultisampleTarget::Destroy()
{
    if (Exists()) {
        fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
        if (flipped_)
            fb.clipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
        fb.deleteFramebuffers(kBufferCount, framebuffers_);
        fb.deleteRenderbuffers(kBufferCount, colorbuffers_);
        fb.deleteRenderbuffers(1, &stencilbuffer_);
    }
    Abandon();
}

void EglMultisampleTarget::Abandon()
{
    for (int i = 0; i < kBufferCount; ++i)
        framebuffers_[i] = colorbuffers_[i] = 0;
    stencilbuffer_ = 0;
    flipped_ = false;
}
