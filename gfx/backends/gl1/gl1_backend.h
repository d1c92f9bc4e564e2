// OpenGL 1.1 behind the seam: the library's fixed-function path, issuing
// exactly the calls the library's call sequences are specified in.
#pragma once

#include <memory>

#include "backends/backend.h"

std::unique_ptr<Backend> makeGl1Backend();
