// Display modules on POSIX systems: dlopen and dlsym.
#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "display_module.h"
#include "module_file_check.h"

namespace {

// More header than any real module has; a file declaring more is refused
// unread rather than read into memory.
constexpr uint64_t kMaxHeaderRead = 16u << 20;

// Why the ELF file at path cannot be mapped whole, or an empty string; a
// file that cannot be read is left to dlopen to explain.
std::string layoutProblem(const char* path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return std::string();
    const uint64_t fileSize = static_cast<uint64_t>(file.tellg());
    std::vector<unsigned char> head(static_cast<size_t>(std::min<uint64_t>(fileSize, kElfHeaderBytes)));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size())))
        return std::string();
    const uint64_t needed = std::min({elfBytesNeeded(head.data(), head.size()), fileSize, kMaxHeaderRead});
    if (needed > head.size()) {
        head.resize(static_cast<size_t>(needed));
        file.seekg(0);
        if (!file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size())))
            return std::string();
    }
    return elfLayoutProblem(head.data(), head.size(), fileSize);
}

bool sameFile(const char* a, const char* b)
{
    struct stat first, second;
    return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// dlsym searches the module's dependencies too: the entry must lie in the
// named file itself, or a library linking to a display would pass as it.
// The file the entry lies in when it is another, else an empty string.
std::string entryElsewhere(void* entry, const char* file)
{
    Dl_info where;
    if (!entry || !dladdr(entry, &where) || !where.dli_fname || sameFile(where.dli_fname, file))
        return std::string();
    return where.dli_fname;
}

}  // namespace

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
    const std::string problem = layoutProblem(resolved);
    if (!problem.empty()) {
        *error = path + ": cannot load the display module: " + problem;
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
    void* symbol = dlsym(module, GR_DISPLAY_ENTRY_NAME);
    const std::string elsewhere = entryElsewhere(symbol, resolved);
    if (!elsewhere.empty()) {
        *error = path + ": not a display module: it exports no function " GR_DISPLAY_ENTRY_NAME
                        " of its own; the one found lies in " + elsewhere + ", a library it links to";
        dlclose(module);
        return false;
    }
    auto entry = reinterpret_cast<GrDisplayEntry>(symbol);
    const std::string file(resolved);
    if (acceptDisplayModule(path, entry, file.substr(0, file.rfind('/') + 1), display, error))
        return true;
    dlclose(module);
    return false;
}
