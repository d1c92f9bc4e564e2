// The GL on a Wayland surface through EGL: the configuration probe and the
// window surface the display renderer draws into. Configurations are 8-8-8-8
// ones chosen explicitly, as the headless ones are (Mesa lists 10-bit ones
// first, whose 2-bit alpha the compositor shows transparent); the frame's
// alpha is made opaque before each swap and the surface declared opaque.
#pragma once

#include <EGL/egl.h>

#include <string>
#include <vector>

#include "gl_choice.h"
#include "pixel_format_table.h"
#include "render_surface.h"

struct wl_display;
struct wl_egl_window;
struct wl_surface;

// Draws in contexts of kind from the next waylandEglDisplay on (OpenGL ES 3
// unless told otherwise).
void useGlContextKind(GlContextKind kind);

// The EGL display of the compositor connection, initialised on first use
// with the kiosk's GL bound; EGL_NO_DISPLAY with the reason in *error when
// EGL cannot be used there.
EGLDisplay waylandEglDisplay(wl_display* connection, std::string* error);

// Ends the EGL display, once every surface and context on it is gone.
void endWaylandEgl();

class WaylandEglProbe : public PixelFormatProbe {
public:
    explicit WaylandEglProbe(wl_display* connection) : connection_(connection) {}
    bool ChoosePlainFormat(int* format) override;
    bool HasMultisampleExtension() override;
    bool ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats) override;
    bool QuerySamples(int format, int* samples) override;
    const std::string& Error() const { return error_; }

private:
    wl_display* connection_;
    std::string error_;
};

class WaylandEglSurface : public RenderSurface {
public:
    WaylandEglSurface(wl_display* connection, wl_surface* surface) : connection_(connection), surface_(surface) {}
    ~WaylandEglSurface() override;

    // The size of the buffers the next frames are drawn into.
    void SetSize(int width, int height);

    bool Bind() override;
    bool CreateContext(int format) override;
    bool MakeCurrent() override;
    void DeleteContext() override;
    bool Exists() const override { return window_ != nullptr; }
    void Release() override;
    void SwapBuffers() override;
    void ReportError(const char* text, const char* detail, const char* caption) override;

    // Why CreateContext or MakeCurrent failed.
    const std::string& Error() const { return error_; }
    // Whether ReportError has told the user about a failure already.
    bool Reported() const { return reported_; }

private:
    wl_display* connection_;
    wl_surface* surface_;
    EGLDisplay display_ = EGL_NO_DISPLAY;
    wl_egl_window* window_ = nullptr;
    EGLSurface eglSurface_ = EGL_NO_SURFACE;
    EGLContext context_ = EGL_NO_CONTEXT;
    int width_ = 1;
    int height_ = 1;
    std::string error_;
    bool reported_ = false;
};
