// The renderer's surface for a view window: a wxGLCanvas created with one
// exact GLX framebuffer configuration, and a GL context on it.
#pragma once

#include <memory>

#include "view_surface.h"

class wxGLCanvas;
class wxGLContext;

class CanvasSurface : public ViewSurface {
public:
    explicit CanvasSurface(wxGLCanvas* canvas);
    ~CanvasSurface() override;
    CanvasSurface(const CanvasSurface&) = delete;
    CanvasSurface& operator=(const CanvasSurface&) = delete;

    bool Bind() override;
    // Fails unless the canvas was created with exactly this configuration.
    bool CreateContext(int format) override;
    bool MakeCurrent() override;
    void DeleteContext() override;
    bool Exists() const override;
    void Release() override;
    void SwapBuffers() override;
    void ReportError(const char* text, const char* detail, const char* caption) override;
    // Swapping the buffers has shown the frame.
    void ShowFrame(wxDC&) override {}

private:
    wxGLCanvas* canvas_;
    std::unique_ptr<wxGLContext> context_;
};

// The GLX_FBCONFIG_ID a canvas was created with, or -1.
int CanvasFormat(const wxGLCanvas& canvas);
