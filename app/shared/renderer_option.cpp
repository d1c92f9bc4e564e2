#include "renderer_option.h"

#include "option_value.h"

namespace {

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
    std::string value;
    bool given = false;
    if (!takeOptionValue(argc, argv, "--renderer", "gl or cpu", &value, &given, error))
        return false;
    if (given && !rendererNamed(value, renderer)) {
        *error = "--renderer takes gl or cpu, not '" + value + "'";
        return false;
    }
    return true;
}

ProgramRenderer& programRenderer()
{
    static ProgramRenderer renderer = ProgramRenderer::Gl;
    return renderer;
}
