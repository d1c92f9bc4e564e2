#include "shm_presenter.h"

#include <iostream>

#include "cpu_formats.h"
#include "renderer_start.h"

ShmPresenter::ShmPresenter(wl_display* connection, wl_surface* surface, wl_shm* shm)
    : connection_(connection), wlSurface_(surface), shm_(shm)
{
    renderer_.UseCpuBackend();
}

ShmPresenter::~ShmPresenter() { Stop(); }

bool ShmPresenter::Prepare(std::string* error)
{
    if (!shm_) {
        *error = "the compositor offers no shared memory (wl_shm)";
        return false;
    }
    CpuFormatProbe probe;
    if (renderer_.Init(probe))
        return true;
    *error = "the drawing library has no CPU backend";
    return false;
}

bool ShmPresenter::Start(int samples, int width, int height, std::string* error)
{
    surface_ = std::make_unique<ShmSurface>(connection_, wlSurface_, shm_);
    if (startRendererOn(renderer_, *surface_, samples, width, height,
                        "cannot start the drawing library on the CPU backend", error))
        return true;
    Stop();
    return false;
}

void ShmPresenter::Stop()
{
    if (!surface_)
        return;
    renderer_.Destroy();
    surface_.reset();
}

void ShmPresenter::Resize(int width, int height)
{
    if (!surface_)
        return;
    surface_->SetSize(width, height);
    renderer_.Resize(width, height);
}

void ShmPresenter::Present(bool running)
{
    if (!surface_)
        return;
    renderer_.Paint(running);
    const std::string& error = surface_->Error();
    if (!error.empty() && error != lastError_)
        std::cerr << "instrument-panel-kiosk: " << error << "\n";
    lastError_ = error;
}
