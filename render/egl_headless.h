// Headless rendering through EGL on Mesa's surfaceless platform: the
// configuration probe and a pbuffer surface of an exact configuration.
#pragma once

#include <EGL/egl.h>

#include <string>
#include <utility>
#include <vector>

#include "egl_frame_target.h"
#include "gl_choice.h"
#include "pixel_format_table.h"
#include "render_surface.h"

// The process's surfaceless EGL display, initialised on first use; null
// (with the reason in *error) when the platform is not available.
EGLDisplay headlessDisplay(std::string* error);

// A GL entry point of the current EGL context, for the drawing library's
// backends that load theirs.
void* eglProcAddress(const char* name);

class EglProbe : public PixelFormatProbe {
public:
    bool ChoosePlainFormat(int* format) override;
    bool HasMultisampleExtension() override;
    bool ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats) override;
    bool QuerySamples(int format, int* samples) override;
    const std::string& Error() const { return error_; }

private:
    std::string error_;
};

class EglPbufferSurface : public RenderSurface {
public:
    EglPbufferSurface(int width, int height) : width_(width), height_(height) {}
    ~EglPbufferSurface() override;

    bool Bind() override;
    bool CreateContext(int format) override;
    bool MakeCurrent() override;
    void DeleteContext() override;
    bool Exists() const override { return true; }
    void Release() override;
    // Ends a frame: the off-screen frame is resolved and turned upright, so
    // that read-back sees the antialiased picture.
    void SwapBuffers() override;
    void ReportError(const char* text, const char* caption) override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Draws with stencil packed with depth, as the configurations have it,
    // instead of stencil alone; for contexts created after the call.
    void UsePackedStencil(bool packed) { packedStencil_ = packed; }
    // The kind of context CreateContext makes (OpenGL 1.1 by default).
    void UseContextKind(GlContextKind kind) { contextKind_ = kind; }
    // Whether the frame's stencil buffer has no depth beside it.
    bool StencilOnly() const { return frameTarget_.StencilOnly(); }
    // Whether read-back finds the frame top row first (see EglFrameTarget).
    bool TopRowFirst() const { return frameTarget_.TopRowFirst(); }
    // The sample count the context actually got (GL_SAMPLES).
    int Samples() const;
    // Why CreateContext or MakeCurrent failed, when the surface knows more
    // than that they did.
    const std::string& Error() const { return error_; }
    // Whether ReportError has told the user about a failure already.
    bool Reported() const { return reported_; }

private:
    int width_;
    int height_;
    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLSurface surface_ = EGL_NO_SURFACE;
    EGLContext context_ = EGL_NO_CONTEXT;
    int configSamples_ = 0;
    bool packedStencil_ = false;
    GlContextKind contextKind_ = GlContextKind::Compatibility;
    EglFrameTarget frameTarget_;
    std::string error_;
    bool reported_ = false;
    // Mesa keeps a multisampled pbuffer's sample buffers allocated when the
    // pbuffer and its context are both made anew, so each configuration's
    // pbuffer lives as long as this object and only contexts come and go.
    std::vector<std::pair<int, EGLSurface>> pbuffers_;
};
