#include "egl_presenter.h"

#include "renderer_start.h"

namespace {

void* eglEntryPoint(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

}  // namespace

EglPresenter::EglPresenter(wl_display* connection, wl_surface* surface, const std::string& gl, GlContextKind kind)
    : connection_(connection), wlSurface_(surface), probe_(connection)
{
    useGlContextKind(kind);
    renderer_.UseBackend(gl, eglEntryPoint);
}

EglPresenter::~EglPresenter()
{
    Stop();
    endWaylandEgl();
}

bool EglPresenter::Prepare(std::string* error)
{
    if (renderer_.Init(probe_))
        return true;
    *error = probe_.Error().empty() ? std::string("EGL: no usable configuration") : probe_.Error();
    return false;
}

bool EglPresenter::Start(int samples, int width, int height, std::string* error)
{
    surface_ = std::make_unique<WaylandEglSurface>(connection_, wlSurface_);
    if (startRendererOn(renderer_, *surface_, samples, width, height, "cannot create the GL context", error))
        return true;
    Stop();
    return false;
}

std::string EglPresenter::GlName() const
{
    using GetString = const unsigned char* (*)(unsigned int);
    const auto getString = reinterpret_cast<GetString>(eglGetProcAddress("glGetString"));
    if (!surface_ || !surface_->MakeCurrent() || !getString)
        return std::string();
    constexpr unsigned int kGlRenderer = 0x1F01;  // GL_RENDERER
    const unsigned char* name = getString(kGlRenderer);
    return name ? reinterpret_cast<const char*>(name) : std::string();
}

void EglPresenter::Stop()
{
    if (!surface_)
        return;
    // The drawing library deletes its textures in the context.
    surface_->MakeCurrent();
    renderer_.Destroy();
    surface_.reset();
}

void EglPresenter::Resize(int width, int height)
{
    if (!surface_ || !surface_->MakeCurrent())
        return;
    surface_->SetSize(width, height);
    renderer_.Resize(width, height);
}

void EglPresenter::Present(bool running)
{
    if (surface_ && surface_->MakeCurrent())
        renderer_.Paint(running);
}
