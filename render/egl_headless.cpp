#include "egl_headless.h"

#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdio>

#include "egl_configs.h"

namespace {

constexpr int kMaxPlainConfigs = 64;

// Binds the API of kind (the thread's current API decides which contexts
// EGL makes and reports current) and returns the attributes that ask for it.
const EGLint* contextAttributes(GlContextKind kind)
{
    const EglGl gl = eglGlFor(kind);
    eglBindAPI(gl.api);
    return gl.contextAttributes;
}

void* eglLookup(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

}  // namespace

EGLDisplay headlessDisplay(std::string* error)
{
    static EGLDisplay display = EGL_NO_DISPLAY;
    static std::string failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
        auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        EGLDisplay candidate = EGL_NO_DISPLAY;
        if (getPlatformDisplay)
            candidate = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (candidate == EGL_NO_DISPLAY) {
            failure = "EGL: the surfaceless platform is not available";
        } else if (!eglInitialize(candidate, nullptr, nullptr)) {
            failure = "EGL: cannot initialise the surfaceless display";
        } else if (!eglBindAPI(EGL_OPENGL_API)) {
            failure = "EGL: desktop OpenGL is not available";
        } else {
            display = candidate;
        }
    }
    if (error && display == EGL_NO_DISPLAY)
        *error = failure;
    return display;
}

void* eglProcAddress(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

bool EglProbe::ChoosePlainFormat(int* format)
{
    EGLDisplay display = headlessDisplay(&error_);
    if (display == EGL_NO_DISPLAY)
        return false;
    std::vector<EGLConfig> configs = chooseRgba8Configs(display, EGL_PBUFFER_BIT, EGL_OPENGL_BIT, false, kMaxPlainConfigs);
    if (configs.empty()) {
        error_ = "EGL: no RGBA8 pbuffer configuration with a stencil buffer";
        return false;
    }
    // Like a hidden window with a throw-away context: prove it can be current.
    EglPbufferSurface trial(1, 1);
    const int id = eglConfigAttribute(display, configs[0], EGL_CONFIG_ID);
    if (!trial.Bind() || !trial.CreateContext(id) || !trial.MakeCurrent()) {
        error_ = "EGL: cannot make a context current on the plain configuration";
        return false;
    }
    trial.DeleteContext();
    trial.Release();
    *format = id;
    return true;
}

// Multisampling is part of core EGL.
bool EglProbe::HasMultisampleExtension() { return true; }

// EGL has no swap method to choose: both attempts ask the same.
bool EglProbe::ChooseMultisampleFormats(bool, std::vector<int>* formats)
{
    EGLDisplay display = headlessDisplay(&error_);
    if (display == EGL_NO_DISPLAY)
        return false;
    for (EGLConfig config : chooseRgba8Configs(display, EGL_PBUFFER_BIT, EGL_OPENGL_BIT, true, kMaxMultisampleFormats))
        formats->push_back(eglConfigAttribute(display, config, EGL_CONFIG_ID));
    return true;
}

bool EglProbe::QuerySamples(int format, int* samples)
{
    EGLDisplay display = headlessDisplay(&error_);
    EGLConfig config;
    if (display == EGL_NO_DISPLAY || !eglConfigById(display, format, &config))
        return false;
    return eglGetConfigAttrib(display, config, EGL_SAMPLES, samples) == EGL_TRUE;
}

EglPbufferSurface::~EglPbufferSurface()
{
    DeleteContext();
    Release();
    for (const auto& [format, pbuffer] : pbuffers_)
        eglDestroySurface(display_, pbuffer);
}

bool EglPbufferSurface::Bind()
{
    display_ = headlessDisplay(nullptr);
    return display_ != EGL_NO_DISPLAY;
}

bool EglPbufferSurface::CreateContext(int format)
{
    EGLConfig config;
    if (display_ == EGL_NO_DISPLAY || !eglConfigById(display_, format, &config))
        return false;
    configSamples_ = eglConfigAttribute(display_, config, EGL_SAMPLES);
    surface_ = EGL_NO_SURFACE;
    for (const auto& [kept, pbuffer] : pbuffers_)
        if (kept == format)
            surface_ = pbuffer;
    if (surface_ == EGL_NO_SURFACE) {
        const EGLint size[] = {EGL_WIDTH, width_, EGL_HEIGHT, height_, EGL_NONE};
        surface_ = eglCreatePbufferSurface(display_, config, size);
        if (surface_ == EGL_NO_SURFACE)
            return false;
        pbuffers_.emplace_back(format, surface_);
    }
    context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, contextAttributes(contextKind_));
    return context_ != EGL_NO_CONTEXT;
}

bool EglPbufferSurface::MakeCurrent()
{
    if (context_ == EGL_NO_CONTEXT || !eglMakeCurrent(display_, surface_, surface_, context_))
        return false;
    // Mesa's surfaceless pbuffers report the configuration's samples but
    // render single-sampled, and pair the stencil with a depth buffer: the
    // frame is drawn off-screen. Without samples the pbuffer itself will do
    // where off-screen buffers, or drawing them upside down, are missing.
    if (frameTarget_.Exists())
        return true;
    std::string error;
    if (frameTarget_.Create(width_, height_, configSamples_, packedStencil_, eglLookup, &error) ||
        configSamples_ == 0)
        return true;
    error_ = "EGL: " + error;
    return false;
}

void EglPbufferSurface::DeleteContext()
{
    if (display_ == EGL_NO_DISPLAY)
        return;
    if (context_ != EGL_NO_CONTEXT && eglGetCurrentContext() == context_)
        frameTarget_.Destroy();
    else
        frameTarget_.Abandon();
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != EGL_NO_CONTEXT)
        eglDestroyContext(display_, context_);
    context_ = EGL_NO_CONTEXT;
}

void EglPbufferSurface::Release()
{
    surface_ = EGL_NO_SURFACE;  // the pbuffer stays for the next context of its configuration
}

void EglPbufferSurface::SwapBuffers()
{
    frameTarget_.Resolve();
    if (surface_ != EGL_NO_SURFACE)
        eglSwapBuffers(display_, surface_);
}

void EglPbufferSurface::ReportError(const char*, const char*, const char*) { reported_ = true; }

int EglPbufferSurface::Samples() const
{
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    return samples;
}
