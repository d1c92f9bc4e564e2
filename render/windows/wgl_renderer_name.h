// The GL_RENDERER string of the GL that windows would get, read from a
// throwaway context on a hidden window before any real window exists.
#pragma once

#include <string>

// True with the string in *name; false with why no context could be made
// current in *error.
bool wglRendererName(std::string* name, std::string* error);
