#include "egl_multisample_target.h"

#include <EGL/egl.h>
#include <GL/glext.h>

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

bool hasFramebufferObjects()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const bool core = version && version[0] >= '3' && version[0] <= '9' && version[1] == '.';
    return core || (extensions && std::string(extensions).find("GL_ARB_framebuffer_object") != std::string::npos);
}

}  // namespace

bool EglMultisampleTarget::Create(int width, int height, int samples, std::string* error)
{
    Destroy();
    if (!hasFramebufferObjects() || !loadFramebufferFunctions()) {
        *error = "EGL: multisampling headless needs framebuffer objects, which this OpenGL lacks";
        return false;
    }
    width_ = width;
    height_ = height;
    fb.genRenderbuffers(3, renderbuffers_);
    const GLenum formats[3] = {GL_RGBA8, GL_DEPTH24_STENCIL8, GL_RGBA8};
    for (int i = 0; i < 3; ++i) {
        fb.bindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[i]);
        fb.renderbufferStorageMultisample(GL_RENDERBUFFER, i < 2 ? samples : 0, formats[i], width, height);
    }
    fb.bindRenderbuffer(GL_RENDERBUFFER, 0);

    fb.genFramebuffers(1, &drawFramebuffer_);
    fb.bindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer_);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[0]);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, renderbuffers_[1]);
    const bool drawComplete = fb.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;

    fb.genFramebuffers(1, &readFramebuffer_);
    fb.bindFramebuffer(GL_FRAMEBUFFER, readFramebuffer_);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[2]);
    const bool readComplete = fb.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;

    GLint granted = 0;
    fb.bindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer_);
    glGetIntegerv(GL_SAMPLES, &granted);
    if (!drawComplete || !readComplete || glGetError() != GL_NO_ERROR || granted < samples) {
        *error = "EGL: cannot create a " + std::to_string(samples) + "-sample off-screen buffer of " +
                 std::to_string(width) + " x " + std::to_string(height) + " pixels";
        Destroy();
        return false;
    }
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer_);
    return true;
}

void EglMultisampleTarget::Resolve()
{
    if (!Exists())
        return;
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, drawFramebuffer_);
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, readFramebuffer_);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    fb.blitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer_);
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, drawFramebuffer_);
}

void EglMultisampleTarget::Destroy()
{
    if (drawFramebuffer_ || readFramebuffer_) {
        fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
        const GLuint framebuffers[2] = {drawFramebuffer_, readFramebuffer_};
        fb.deleteFramebuffers(2, framebuffers);
    }
    if (renderbuffers_[0])
        fb.deleteRenderbuffers(3, renderbuffers_);
    Abandon();
}

void EglMultisampleTarget::Abandon()
{
    drawFramebuffer_ = readFramebuffer_ = 0;
    renderbuffers_[0] = renderbuffers_[1] = renderbuffers_[2] = 0;
}
