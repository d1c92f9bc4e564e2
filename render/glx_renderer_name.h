// The GL_RENDERER string of the GL that windows on an X display would get,
// read from a throwaway context on a 1 x 1 pbuffer before any window exists.
#pragma once

#include <string>

typedef struct _XDisplay Display;

// True with the string in *name; false with why no context could be made
// current in *error.
bool glxRendererName(Display* display, std::string* name, std::string* error);
