// Off-screen rendering as each platform offers it: EGL on Mesa's surfaceless
// platform on Linux, a hidden window's WGL context on Windows.
#pragma once

#include "gl_choice.h"
#include "gr_display.h"

#if defined(_WIN32)
#include "wgl_probe.h"
#include "wgl_surface.h"
using HeadlessProbe = WglProbe;
using HeadlessSurface = WglHiddenSurface;

// The hidden window's contexts are OpenGL 1.1 ones only.
inline bool useHeadlessContext(HeadlessSurface&, GlContextKind kind) { return kind == GlContextKind::Compatibility; }
inline GrProcLoader headlessProcLoader() { return nullptr; }
#else
#include "egl_headless.h"
using HeadlessProbe = EglProbe;
using HeadlessSurface = EglPbufferSurface;

// Makes surface's contexts of kind; false where the platform has none.
inline bool useHeadlessContext(HeadlessSurface& surface, GlContextKind kind)
{
    surface.UseContextKind(kind);
    return true;
}
inline GrProcLoader headlessProcLoader() { return eglProcAddress; }
#endif
