#include "webgl_surface.h"

#include <GLES3/gl3.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstring>

#include "gr_display.h"
#include "page_bridge.h"

namespace {

// The canvas the page makes afresh for every context.
constexpr const char* kCanvasSelector = "#canvas";

// The formats of the multisampled framebuffer: colour as the canvas has it
// (no alpha, which a resolve must match), and the stencil clipping needs.
constexpr GLenum kColourFormat = GL_RGB8;
constexpr GLenum kDepthStencilFormat = GL_DEPTH24_STENCIL8;

// A canvas without alpha (the page shows colour only) with the stencil
// clipping needs, kept after presenting so that the frame can be read back.
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE createContext()
{
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_TRUE;
    attributes.antialias = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_TRUE;
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(kCanvasSelector, &attributes);
    return context > 0 ? context : 0;
}

// WebGL answers only GL_SAMPLES, with as many counts as it has: a buffer
// larger than any list, zeros past its end.
constexpr int kMaxSampleCounts = 16;

std::vector<int> sampleCountsOf(GLenum format)
{
    GLint counts[kMaxSampleCounts] = {};
    glGetInternalformativ(GL_RENDERBUFFER, format, GL_SAMPLES, kMaxSampleCounts, counts);
    std::vector<int> offered;
    for (GLint samples : counts)
        if (samples > 0)
            offered.push_back(samples);
    return offered;
}

// Turns the current context's window transform upside down with the
// browser's EXT_clip_control, the way the desktop's headless frames are
// drawn, fill rule included; false where the browser lacks it.
EM_JS(int, jsClipUpperLeft, (), {
    const clipControl = GLctx.getExtension('EXT_clip_control');
    if (!clipControl)
        return 0;
    clipControl.clipControlEXT(clipControl.UPPER_LEFT_EXT, clipControl.NEGATIVE_ONE_TO_ONE_EXT);
    return 1;
});

}  // namespace

void* webGlProcAddress(const char* name) { return emscripten_webgl_get_proc_address(name); }

bool WebGlProbe::ChoosePlainFormat(int* format)
{
    pageMakeCanvas(1, 1);
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = createContext();
    if (!context || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        if (context)
            emscripten_webgl_destroy_context(context);
        return false;
    }
    counts_.clear();
    const std::vector<int> colour = sampleCountsOf(kColourFormat);
    for (int samples : sampleCountsOf(kDepthStencilFormat))
        if (samples > 1 && std::find(colour.begin(), colour.end(), samples) != colour.end())
            counts_.push_back(samples);
    emscripten_webgl_make_context_current(0);
    emscripten_webgl_destroy_context(context);
    *format = 0;
    return true;
}

bool WebGlProbe::ChooseMultisampleFormats(bool, std::vector<int>* formats)
{
    *formats = counts_;
    return true;
}

bool WebGlProbe::QuerySamples(int format, int* samples)
{
    *samples = format;
    return true;
}

bool WebGlSurface::Bind()
{
    if (!exists_)
        pageMakeCanvas(width_, height_);
    exists_ = true;
    return true;
}

bool WebGlSurface::CreateContext(int format)
{
    context_ = createContext();
    if (!context_ || !MakeCurrent())
        return false;
    // A multisampled frame is drawn upside down, its rows stored as a
    // window's are, so that its edges cover the samples they cover in a
    // window; the canvas shows it turned upright. Without clip control the
    // projection turns it, which places samples alike but breaks ties on
    // edges through a sample the other way.
    grSetUpsideDown(format != 0 && !jsClipUpperLeft());
    return format == 0 || CreateMultisampleTarget(format);
}

bool WebGlSurface::CreateMultisampleTarget(int samples)
{
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, kColourFormat, width_, height_);
    glGenRenderbuffers(1, &depthStencil_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, kDepthStencilFormat, width_, height_);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    // A multisampled blit cannot flip: the frame is resolved as it is
    // stored, and the resolved copy turned upright onto the canvas.
    glGenRenderbuffers(1, &resolvedColour_);
    glBindRenderbuffer(GL_RENDERBUFFER, resolvedColour_);
    glRenderbufferStorage(GL_RENDERBUFFER, kColourFormat, width_, height_);
    glGenFramebuffers(1, &resolved_);
    glBindFramebuffer(GL_FRAMEBUFFER, resolved_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolvedColour_);
    complete = complete && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!complete) {
        DeleteMultisampleTarget();
        return false;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    return true;
}

void WebGlSurface::DeleteMultisampleTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteFramebuffers(1, &resolved_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteRenderbuffers(1, &depthStencil_);
    glDeleteRenderbuffers(1, &resolvedColour_);
    framebuffer_ = resolved_ = colour_ = depthStencil_ = resolvedColour_ = 0;
}

bool WebGlSurface::MakeCurrent()
{
    if (!context_ || emscripten_webgl_make_context_current(context_) != EMSCRIPTEN_RESULT_SUCCESS)
        return false;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    return true;
}

void WebGlSurface::DeleteContext()
{
    if (!context_)
        return;
    if (framebuffer_)
        DeleteMultisampleTarget();
    emscripten_webgl_make_context_current(0);
    emscripten_webgl_destroy_context(context_);
    context_ = 0;
}

void WebGlSurface::SwapBuffers()
{
    // The browser presents the canvas itself when the frame's task ends; a
    // multisampled frame is resolved and turned upright onto it first, and
    // drawing goes on in the multisampled framebuffer.
    if (!framebuffer_)
        return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved_);
    glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, resolved_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, width_, height_, 0, height_, width_, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

void WebGlSurface::Finish()
{
    if (context_)
        glFinish();
}

std::vector<uint8_t> WebGlSurface::ReadFrame() const
{
    if (!context_)
        return {};
    const size_t row = static_cast<size_t>(width_) * 4;
    std::vector<uint8_t> stored(row * static_cast<size_t>(height_));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, stored.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    std::vector<uint8_t> frame(stored.size());
    for (int y = 0; y < height_; ++y)
        std::memcpy(&frame[static_cast<size_t>(y) * row], &stored[static_cast<size_t>(height_ - 1 - y) * row], row);
    for (size_t i = 3; i < frame.size(); i += 4)
        frame[i] = 255;
    return frame;
}
