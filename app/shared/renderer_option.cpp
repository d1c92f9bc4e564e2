#include "renderer_option.h"

#include "gl_renderer_kind.h"
#include "option_value.h"

namespace {

bool rendererNamed(const std::string& name, ProgramRenderer* renderer)
{
    if (name == "auto")
        *renderer = ProgramRenderer::Auto;
    else if (name == "gl")
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
    *renderer = ProgramRenderer::Auto;
    std::string value;
    bool given = false;
    if (!takeOptionValue(argc, argv, "--renderer", "auto, gl or cpu", &value, &given, error))
        return false;
    if (given && !rendererNamed(value, renderer)) {
        *error = "--renderer takes auto, gl or cpu, not '" + value + "'";
        return false;
    }
    return true;
}

RendererChoice chooseRenderer(ProgramRenderer asked, bool glReady, const std::string& glName,
                              const std::string& glError)
{
    if (asked == ProgramRenderer::Gl)
        return {ProgramRenderer::Gl, "Отрисовка: OpenGL (задано параметром --renderer gl)"};
    if (asked == ProgramRenderer::Cpu)
        return {ProgramRenderer::Cpu, "Отрисовка: процессор (задано параметром --renderer cpu)"};
    if (!glReady)
        return {ProgramRenderer::Cpu, "Отрисовка: процессор, так как OpenGL недоступен: " + glError};
    if (isSoftwareRasteriser(glName))
        return {ProgramRenderer::Cpu, "Отрисовка: процессор, так как OpenGL здесь программный (" + glName +
                                          ") и рисует медленнее"};
    return {ProgramRenderer::Gl, "Отрисовка: OpenGL (" + glName + ")"};
}

ProgramRenderer& programRenderer()
{
    static ProgramRenderer renderer = ProgramRenderer::Auto;
    return renderer;
}

std::string& programRendererReason()
{
    static std::string reason;
    return reason;
}
