// The shader backend: OpenGL ES 2, ES 3 and desktop 3.3 core through one
// program. Vertices reach clip coordinates on the processor (the modelview
// and the clip planes live there, shared with any backend without a GL
// matrix stack), are streamed through one vertex buffer with a colour per
// vertex, and go to the GL in as few draws as the state allows; exact mode
// draws each part at once, batched mode collects draws of equal state.
#pragma once

#include <memory>

#include "backends/backend.h"
#include "gles_program.h"

// The backend for dialect, loading its entry points through loader at start.
std::unique_ptr<Backend> makeGlesBackend(GlslDialect dialect, ProcLoader loader);
