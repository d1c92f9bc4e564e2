#include "egl_configs.h"

namespace {

constexpr EGLint kEs2Attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 2, EGL_NONE};
constexpr EGLint kEs3Attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_NONE};
constexpr EGLint kCoreAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                      EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                      EGL_NONE};

bool hasEightBitChannels(EGLDisplay display, EGLConfig config)
{
    return eglConfigAttribute(display, config, EGL_RED_SIZE) == 8 &&
           eglConfigAttribute(display, config, EGL_GREEN_SIZE) == 8 &&
           eglConfigAttribute(display, config, EGL_BLUE_SIZE) == 8 &&
           eglConfigAttribute(display, config, EGL_ALPHA_SIZE) == 8;
}

}  // namespace

EglGl eglGlFor(GlContextKind kind)
{
    switch (kind) {
    case GlContextKind::Es2: return {EGL_OPENGL_ES_API, EGL_OPENGL_ES2_BIT, kEs2Attributes};
    case GlContextKind::Es3: return {EGL_OPENGL_ES_API, EGL_OPENGL_ES3_BIT, kEs3Attributes};
    case GlContextKind::Core: return {EGL_OPENGL_API, EGL_OPENGL_BIT, kCoreAttributes};
    case GlContextKind::Compatibility: break;
    }
    return {EGL_OPENGL_API, EGL_OPENGL_BIT, nullptr};
}

EGLint eglConfigAttribute(EGLDisplay display, EGLConfig config, EGLint name)
{
    EGLint value = -1;
    eglGetConfigAttrib(display, config, name, &value);
    return value;
}

std::vector<EGLConfig> chooseRgba8Configs(EGLDisplay display, EGLint surfaceBit, EGLint renderableBit,
                                          bool multisampled, int max)
{
    const EGLint attributes[] = {
        EGL_SURFACE_TYPE, surfaceBit, EGL_RENDERABLE_TYPE, renderableBit,
        EGL_COLOR_BUFFER_TYPE, EGL_RGB_BUFFER, EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
        EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8, EGL_STENCIL_SIZE, 1,
        EGL_SAMPLE_BUFFERS, multisampled ? 1 : 0, EGL_NONE,
    };
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

bool eglConfigById(EGLDisplay display, int id, EGLConfig* config)
{
    const EGLint attributes[] = {EGL_CONFIG_ID, id, EGL_NONE};
    EGLint count = 0;
    return eglChooseConfig(display, attributes, config, 1, &count) && count == 1;
}
