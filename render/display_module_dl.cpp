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
        const char* reason = dlerror();
        *error = path + ": cannot load the display module: " + (reason ? reason : "unknown reason");
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
