#include "egl_headless.h"

#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdio>

namespace {

EGLint kPlainAttributes[] = {
    EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
    EGL_COLOR_BUFFER_TYPE, EGL_RGB_BUFFER, EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
    EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 0, EGL_STENCIL_SIZE, 1,
    EGL_SAMPLE_BUFFERS, 0, EGL_NONE,
};

EGLint kMultisampleAttributes[] = {
    EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
    EGL_COLOR_BUFFER_TYPE, EGL_RGB_BUFFER, EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
    EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 0, EGL_STENCIL_SIZE, 1,
    EGL_SAMPLE_BUFFERS, 1, EGL_NONE,
};

EGLint attribute(EGLDisplay display, EGLConfig config, EGLint name)
{
    EGLint value = -1;
    eglGetConfigAttrib(display, config, name, &value);
    return value;
}

// The drivers may offer deeper colour first; the display wants exactly 8 bits.
bool hasEightBitChannels(EGLDisplay display, EGLConfig config)
{
    return attribute(display, config, EGL_RED_SIZE) == 8 &&
           attribute(display, config, EGL_GREEN_SIZE) == 8 &&
           attribute(display, config, EGL_BLUE_SIZE) == 8 &&
           attribute(display, config, EGL_ALPHA_SIZE) == 8;
}

std::vector<EGLConfig> chooseConfigs(EGLDisplay display, const EGLint* attributes, int max)
{
    std::vector<EGLConfig> configs(max);
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, configs.data(), max, &count) || count < 0)
        count = 0;
    configs.resize(count);
    std::vector<EGLConfig> kept;
    for (EGLConfig config : configs)
        if (hasEightBitChannels(display, config))
            kept.push_back(config);
    return kept;
}

bool configById(EGLDisplay display, int id, EGLConfig* config)
{
    const EGLint attributes[] = {EGL_CONFIG_ID, id, EGL_NONE};
    EGLint count = 0;
    return eglChooseConfig(display, attributes, config, 1, &count) && count == 1;
}

// Binds the API of kind (the thread's current API decides which contexts
// EGL makes and reports current) and returns the attributes that ask for it.
const EGLint* contextAttributes(GlContextKind kind)
{
    static const EGLint kEs2[] = {EGL_CONTEXT_MAJOR_VERSION, 2, EGL_NONE};
    static const EGLint kEs3[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_NONE};
    static const EGLint kCore[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                   EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    const bool es = kind == GlContextKind::Es2 || kind == GlContextKind::Es3;
    eglBindAPI(es ? EGL_OPENGL_ES_API : EGL_OPENGL_API);
    switch (kind) {
    case GlContextKind::Es2: return kEs2;
    case GlContextKind::Es3: return kEs3;
    case GlContextKind::Core: return kCore;
    case GlContextKind::Compatibility: break;
    }
    return nullptr;
}

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
    std::vector<EGLConfig> configs = chooseConfigs(display, kPlainAttributes, 64);
    if (configs.empty()) {
        error_ = "EGL: no RGBA8 pbuffer configuration with a stencil buffer";
        return false;
    }
    // Like a hidden window with a throw-away context: prove it can be current.
    EglPbufferSurface trial(1, 1);
    const int id = attribute(display, configs[0], EGL_CONFIG_ID);
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
    for (EGLConfig config : chooseConfigs(display, kMultisampleAttributes, kMaxMultisampleFormats))
        formats->push_back(attribute(display, config, EGL_CONFIG_ID));
    return true;
}

bool EglProbe::QuerySamples(int format, int* samples)
{
    EGLDisplay display = headlessDisplay(&error_);
    EGLConfig config;
    if (display == EGL_NO_DISPLAY || !configById(display, format, &config))
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
    if (display_ == EGL_NO_DISPLAY || !configById(display_, format, &config))
        return false;
    configSamples_ = attribute(display_, config, EGL_SAMPLES);
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
    if (frameTarget_.Create(width_, height_, configSamples_, packedStencil_, &error) || configSamples_ == 0)
        return true;
    error_ = error;
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

void EglPbufferSurface::ReportError(const char* text, const char* caption)
{
    reported_ = true;
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

int EglPbufferSurface::Samples() const
{
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    return samples;
}
