// EGL configurations as every EGL host chooses them: exactly 8 bits a
// channel with a stencil buffer, and the API and context each kind of GL
// needs.
#pragma once

#include <EGL/egl.h>

#include <vector>

#include "gl_choice.h"

// The API to bind for a kind of GL, the configurations that render it and
// the attributes its context asks for (null: none).
struct EglGl {
    EGLenum api;
    EGLint renderableBit;
    const EGLint* contextAttributes;
};

EglGl eglGlFor(GlContextKind kind);

// One attribute of config; -1 when EGL does not say.
EGLint eglConfigAttribute(EGLDisplay display, EGLConfig config, EGLint name);

// The configurations for surfaces of surfaceBit (EGL_PBUFFER_BIT,
// EGL_WINDOW_BIT) that render renderableBit, RGBA 8-8-8-8 (drivers may list
// deeper colour first) with a stencil buffer, with sample buffers or
// without; of EGL's first max answers, in EGL's order.
std::vector<EGLConfig> chooseRgba8Configs(EGLDisplay display, EGLint surfaceBit, EGLint renderableBit,
                                          bool multisampled, int max);

// The configuration with EGL_CONFIG_ID id.
bool eglConfigById(EGLDisplay display, int id, EGLConfig* config);
