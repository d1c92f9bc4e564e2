#include "gles_api.h"

#include <cstring>

namespace {

// GL_CONTEXT_PROFILE_MASK and its core bit (desktop GL 3.2 and later).
constexpr GLenum kContextProfileMask = 0x9126;
constexpr GLint kContextCoreProfileBit = 0x1;

template <typename Function>
bool load(ProcLoader loader, const char* name, Function* out)
{
    *out = reinterpret_cast<Function>(loader(name));
    return *out != nullptr;
}

}  // namespace

const char* loadGlesApi(ProcLoader loader, GlesApi* api)
{
    if (!loader)
        return "glGetString";
#define GLES_LOAD_REQUIRED(type, name)            \
    if (!load(loader, "gl" #name, &api->name)) \
        return "gl" #name;
    GLES_REQUIRED_FUNCTIONS(GLES_LOAD_REQUIRED)
#undef GLES_LOAD_REQUIRED
#define GLES_LOAD_OPTIONAL(type, name) load(loader, "gl" #name, &api->name);
    GLES_VERTEX_ARRAY_FUNCTIONS(GLES_LOAD_OPTIONAL)
#undef GLES_LOAD_OPTIONAL
    return nullptr;
}

const char* backendForContext(ProcLoader loader)
{
    PFNGLGETSTRINGPROC getString = nullptr;
    PFNGLGETINTEGERVPROC getIntegerv = nullptr;
    PFNGLGETERRORPROC getError = nullptr;
    if (!loader || !load(loader, "glGetString", &getString) || !load(loader, "glGetIntegerv", &getIntegerv) ||
        !load(loader, "glGetError", &getError))
        return "gl1";
    const char* version = reinterpret_cast<const char*>(getString(GL_VERSION));
    if (!version)
        return "gl1";
    if (std::strncmp(version, "OpenGL ES ", 10) == 0)
        return version[10] >= '3' ? "es3" : "es2";
    // Desktop: a core profile of 3.3 or later has no fixed function.
    GLint profile = 0;
    getIntegerv(kContextProfileMask, &profile);
    getError();  // contexts before 3.2 do not know the query
    if ((profile & kContextCoreProfileBit) && (version[0] > '3' || (version[0] == '3' && version[2] >= '3')))
        return "core";
    return "gl1";
}
