// The gl1 backend's OpenGL: the only place the library includes GL 1.1.
#pragma once

#include <GL/gl.h>

// Windows' gl.h stops at OpenGL 1.1; the driver still takes these.
#ifndef GL_MULTISAMPLE
#define GL_MULTISAMPLE 0x809D
#endif

// Reads and forgets the errors GL has queued; returns how many there were.
int drainGlErrors();
