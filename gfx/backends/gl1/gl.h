// The one place the drawing library includes OpenGL.
#pragma once

#include <GL/gl.h>

// Windows' gl.h stops at OpenGL 1.1; the driver still takes these.
#ifndef GL_MULTISAMPLE
#define GL_MULTISAMPLE 0x809D
#endif

// Reads and forgets the errors GL has queued; returns how many there were.
int drainGlErrors();

// Checks for GL errors at a labelled point when GR_CHECK_GL_ERRORS is set
// (debug builds); each error found is counted in grDiagnostics().glErrors.
void grCheckGlErrors(const char* where);

#if defined(GR_CHECK_GL_ERRORS)
#define GR_CHECK_GL(where) grCheckGlErrors(where)
#else
#define GR_CHECK_GL(where) ((void)0)
#endif
