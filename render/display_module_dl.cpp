// Display modules on POSIX systems: dlopen and dlsym.
#include <dlfcn.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "display_module.h"
#include "gr_display.h"

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
    if (!entry) {
        *error = path + ": not a display module: it exports no function " GR_DISPLAY_ENTRY_NAME;
        dlclose(module);
        return false;
    }
    const GrDisplay* descriptor = entry();
    const std::string problem = descriptorProblem(descriptor);
    if (!problem.empty()) {
        *error = path + ": display refused: " + problem;
        dlclose(module);
        return false;
    }
    const std::string file(resolved);
    display->descriptor = descriptor;
    display->imageFolder = file.substr(0, file.rfind('/') + 1);
    return true;
}
