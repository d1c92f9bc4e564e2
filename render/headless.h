// Off-screen rendering as each platform offers it: EGL on Mesa's surfaceless
// platform on Linux, a hidden window's WGL context on Windows.
#pragma once

#if defined(_WIN32)
#include "wgl_probe.h"
#include "wgl_surface.h"
using HeadlessProbe = WglProbe;
using HeadlessSurface = WglHiddenSurface;
#else
#include "egl_headless.h"
using HeadlessProbe = EglProbe;
using HeadlessSurface = EglPbufferSurface;
#endif
