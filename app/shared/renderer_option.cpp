#include "renderer_option.h"

#include <cstring>

namespace {

constexpr const char* kOption = "--renderer";

bool rendererNamed(const std::string& name, ProgramRenderer* renderer)
{
    if (name == "gl")
        *renderer = ProgramRenderer::Gl;
    else if (name == "cpu")
        *renderer = ProgramRenderer::Cpu;
    else
        return false;
    return true;
}

}  // namespace

bool takeRendererOption(int* argc, char** argv, ProgramRenderer* renderer, std::string* error)
{
    *renderer = ProgramRenderer::Gl;
    bool seen = false;
    const size_t optionLength = std::strlen(kOption);
    int kept = *argc > 0 ? 1 : 0;
    for (int i = 1; i < *argc; ++i) {
        const char* arg = argv[i];
        const bool separate = std::strcmp(arg, kOption) == 0;
        const bool joined = std::strncmp(arg, kOption, optionLength) == 0 && arg[optionLength] == '=';
        if (!separate && !joined) {
            argv[kept++] = argv[i];
            continue;
        }
        if (seen) {
            *error = "--renderer is given more than once";
            return false;
        }
        seen = true;
        if (separate && i + 1 >= *argc) {
            *error = "--renderer needs gl or cpu";
            return false;
        }
        const std::string value = separate ? argv[++i] : arg + optionLength + 1;
        if (!rendererNamed(value, renderer)) {
            *error = "--renderer takes gl or cpu, not '" + value + "'";
            return false;
        }
    }
    argv[kept] = nullptr;
    *argc = kept;
    return true;
}

ProgramRenderer& programRenderer()
{
    static ProgramRenderer renderer = ProgramRenderer::Gl;
    return renderer;
}
