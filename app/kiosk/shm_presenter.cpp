#include "shm_presenter.h"

#include <iostream>

#include "cpu_formats.h"

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
    surface_->SetSize(width, height);
    if (renderer_.Create(surface_.get(), samples)) {
        renderer_.Resize(width, height);
        return true;
    }
    if (surface_->Reported())
        error->clear();
    else
        *error = "cannot start the drawing library on the CPU backend";
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
