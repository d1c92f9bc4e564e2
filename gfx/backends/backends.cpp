#include "backends.h"

#include <cstring>

#include "cpu/cpu_seam.h"
#if !defined(GR_WITHOUT_GL1)
#include "gl1/gl1_backend.h"
#endif
#if defined(GR_SHADER_BACKEND)
#include "gles/gles_backend.h"
#endif

std::unique_ptr<Backend> makeBackend(const char* name, ProcLoader loader)
{
#if defined(GR_SHADER_BACKEND)
    if (std::strcmp(name, "auto") == 0)
        name = backendForContext(loader);
    if (std::strcmp(name, "es2") == 0)
        return makeGlesBackend(GlslDialect::Es100, loader);
    if (std::strcmp(name, "es3") == 0)
        return makeGlesBackend(GlslDialect::Es300, loader);
    if (std::strcmp(name, "core") == 0)
        return makeGlesBackend(GlslDialect::Core330, loader);
#else
    (void)loader;
    if (std::strcmp(name, "auto") == 0)
        name = "gl1";
#endif
#if !defined(GR_WITHOUT_GL1)
    if (std::strcmp(name, "gl1") == 0)
        return makeGl1Backend();
#endif
    const int cpuSamples = cpuBackendSamples(name);
    if (cpuSamples >= 0)
        return makeCpuBackend(cpuSamples, 0);
    return nullptr;
}
