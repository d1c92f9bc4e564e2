// The backends the library can draw through, by name.
#pragma once

#include <memory>

#include "backend.h"

// The backend by name ("gl1", "es2", "es3", "core"; "auto": the one that
// serves the context current at the call), or null for a name no backend
// answers to. loader finds GL entry points for backends that load them.
std::unique_ptr<Backend> makeBackend(const char* name, ProcLoader loader);
