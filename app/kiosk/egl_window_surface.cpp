#include "egl_window_surface.h"

#include <EGL/eglext.h>
#include <GL/gl.h>
#include <wayland-egl.h>

#include <cstdio>

#include "egl_configs.h"

namespace {

// The GL the drawing library is given.
EglGl kGl = eglGlFor(GlContextKind::Es3);

constexpr int kMaxConfigs = 256;

// The window configurations with a stencil buffer, with or without sample
// buffers, that are 8-8-8-8.
std::vector<EGLConfig> chooseConfigs(EGLDisplay display, bool multisampled)
{
    return chooseRgba8Configs(display, EGL_WINDOW_BIT, kGl.renderableBit, multisampled, kMaxConfigs);
}

EGLDisplay initialisedDisplay = EGL_NO_DISPLAY;

}  // namespace

void useGlContextKind(GlContextKind kind) { kGl = eglGlFor(kind); }

EGLDisplay waylandEglDisplay(wl_display* connection, std::string* error)
{
    static std::string failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
        auto getPlatformDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        EGLDisplay candidate = EGL_NO_DISPLAY;
        if (getPlatformDisplay)
            candidate = getPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, connection, nullptr);
        if (candidate == EGL_NO_DISPLAY)
            failure = "EGL: the Wayland platform is not available";
        else if (!eglInitialize(candidate, nullptr, nullptr))
            failure = "EGL: cannot initialise the display of the Wayland connection";
        else if (!eglBindAPI(kGl.api))
            failure = std::string("EGL: ") + (kGl.api == EGL_OPENGL_ES_API ? "OpenGL ES" : "desktop OpenGL") + " is not available";
        else
            initialisedDisplay = candidate;
    }
    if (error && initialisedDisplay == EGL_NO_DISPLAY)
        *error = failure;
    return initialisedDisplay;
}

void endWaylandEgl()
{
    if (initialisedDisplay == EGL_NO_DISPLAY)
        return;
    eglMakeCurrent(initialisedDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglTerminate(initialisedDisplay);
    eglReleaseThread();
}

bool WaylandEglProbe::ChoosePlainFormat(int* format)
{
    EGLDisplay display = waylandEglDisplay(connection_, &error_);
    if (display == EGL_NO_DISPLAY)
        return false;
    const std::vector<EGLConfig> configs = chooseConfigs(display, false);
    if (configs.empty()) {
        error_ = "EGL: no RGBA8 window configuration with a stencil buffer";
        return false;
    }
    // Proves a context works before any window depends on it.
    EGLContext trial = eglCreateContext(display, configs[0], EGL_NO_CONTEXT, kGl.contextAttributes);
    const bool current =
        trial != EGL_NO_CONTEXT && eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, trial) == EGL_TRUE;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (trial != EGL_NO_CONTEXT)
        eglDestroyContext(display, trial);
    if (!current) {
        error_ = "EGL: cannot make a context current on the plain configuration";
        return false;
    }
    *format = eglConfigAttribute(display, configs[0], EGL_CONFIG_ID);
    return true;
}

// Multisampling is part of core EGL.
bool WaylandEglProbe::HasMultisampleExtension() { return true; }

// EGL has no swap method to choose: both attempts ask the same.
bool WaylandEglProbe::ChooseMultisampleFormats(bool, std::vector<int>* formats)
{
    EGLDisplay display = waylandEglDisplay(connection_, &error_);
    if (display == EGL_NO_DISPLAY)
        return false;
    for (EGLConfig config : chooseConfigs(display, true))
        formats->push_back(eglConfigAttribute(display, config, EGL_CONFIG_ID));
    return true;
}

bool WaylandEglProbe::QuerySamples(int format, int* samples)
{
    EGLDisplay display = waylandEglDisplay(connection_, &error_);
    EGLConfig config;
    if (display == EGL_NO_DISPLAY || !eglConfigById(display, format, &config))
        return false;
    return eglGetConfigAttrib(display, config, EGL_SAMPLES, samples) == EGL_TRUE;
}

WaylandEglSurface::~WaylandEglSurface()
{
    DeleteContext();
    Release();
}

void WaylandEglSurface::SetSize(int width, int height)
{
    width_ = width;
    height_ = height;
    if (window_)
        wl_egl_window_resize(window_, width, height, 0, 0);
}

bool WaylandEglSurface::Bind()
{
    display_ = waylandEglDisplay(connection_, &error_);
    if (display_ == EGL_NO_DISPLAY)
        return false;
    if (!window_)
        window_ = wl_egl_window_create(surface_, width_, height_);
    return window_ != nullptr;
}

bool WaylandEglSurface::CreateContext(int format)
{
    EGLConfig config;
    if (!window_ || !eglConfigById(display_, format, &config))
        return false;
    if (eglSurface_ == EGL_NO_SURFACE) {
        eglSurface_ = eglCreatePlatformWindowSurface(display_, config, window_, nullptr);
        if (eglSurface_ == EGL_NO_SURFACE) {
            error_ = "EGL: cannot make a window surface on the Wayland surface";
            return false;
        }
    }
    context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, kGl.contextAttributes);
    if (context_ == EGL_NO_CONTEXT) {
        error_ = "EGL: cannot create a GL context";
        return false;
    }
    return true;
}

bool WaylandEglSurface::MakeCurrent()
{
    if (context_ == EGL_NO_CONTEXT || !eglMakeCurrent(display_, eglSurface_, eglSurface_, context_))
        return false;
    // The timer paces frames; the swap must not wait for the compositor, which
    // sends no frame events while the surface is hidden.
    eglSwapInterval(display_, 0);
    return true;
}

void WaylandEglSurface::DeleteContext()
{
    if (display_ == EGL_NO_DISPLAY)
        return;
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != EGL_NO_CONTEXT)
        eglDestroyContext(display_, context_);
    context_ = EGL_NO_CONTEXT;
}

void WaylandEglSurface::Release()
{
    if (eglSurface_ != EGL_NO_SURFACE)
        eglDestroySurface(display_, eglSurface_);
    eglSurface_ = EGL_NO_SURFACE;
    if (window_)
        wl_egl_window_destroy(window_);
    window_ = nullptr;
}

// The frame leaves blending's alpha behind; the buffer goes opaque, so that
// neither the compositor nor a screenshot tool (weston-screenshooter divides
// the colours by alpha) takes it for transparency.
void WaylandEglSurface::SwapBuffers()
{
    if (eglSurface_ == EGL_NO_SURFACE)
        return;
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
    eglSwapBuffers(display_, eglSurface_);
}

void WaylandEglSurface::ReportError(const char* text, const char* detail, const char* caption)
{
    reported_ = true;
    const bool detailed = detail && *detail;
    std::fprintf(stderr, "instrument-panel-kiosk: %s: %s%s%s\n", caption, text, detailed ? " " : "",
                 detailed ? detail : "");
}
