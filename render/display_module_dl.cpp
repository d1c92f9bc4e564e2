// Display modules on POSIX systems: dlopen and dlsym.
#include <dlfcn.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "display_module.h"

bool loadDisplayModule(const std::string& path, HostedDisplay* display, std::string* error)
{
    // An absolute path, so that dlopen never searches the library path for
    // a bare file name, and the module's folder is known for its images.
    char resolved[PATH_MAX];
    if (path.empty() || !realpath(path.c_str(), resolved)) {
        *error = path + ": cannot load the display module: " +
                 (path.empty() ? "the path is empty" : std::strerror(errno));
        return false;
    }
    void* module = dlopen(resolved, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* text = dlerror();
        const std::string reason = text ? text : "unknown reason";
        // A module of interface version 1 wants the gr API under its C++
        // names, such as _Z10grSetColori.
        const std::string undefined = "undefined symbol: _Z";
        const size_t at = reason.find(undefined);
        const size_t name = at == std::string::npos ? at : reason.find_first_not_of("0123456789", at + undefined.size());
        if (name != std::string::npos && reason.compare(name, 2, "gr") == 0) {
            *error = path + ": display refused: " + rebuildMessage(1);
            return false;
        }
        *error = path + ": cannot load the display module: " + reason;
        return false;
    }
    dlerror();
    auto entry = reinterpret_cast<GrDisplayEntry>(dlsym(module, GR_DISPLAY_ENTRY_NAME));
    const std::string file(resolved);
    if (acceptDisplayModule(path, entry, file.substr(0, file.rfind('/') + 1), display, error))
        return true;
    dlclose(module);
    return false;
}
