// Frames drawn by the drawing library's CPU backend and shown through
// Wayland shared memory: no EGL, no GL at all.
#pragma once

#include <memory>
#include <string>

#include "display_renderer.h"
#include "frame_presenter.h"
#include "shm_surface.h"

struct wl_display;
struct wl_shm;
struct wl_surface;

class ShmPresenter : public FramePresenter {
public:
    // shm may be null (a compositor without shared memory): Prepare says so.
    ShmPresenter(wl_display* connection, wl_surface* surface, wl_shm* shm);
    ~ShmPresenter() override;

    bool Prepare(std::string* error) override;
    const PixelFormatTable& Formats() const override { return renderer_.Formats(); }
    bool Start(int samples, int width, int height, std::string* error) override;
    void Stop() override;
    bool Started() const override { return surface_ != nullptr; }
    void Resize(int width, int height) override;
    void SetPlacement(std::function<GrPlacement(int, int)> place) override { renderer_.SetPlacement(std::move(place)); }
    // Draws and shows the frame; a frame that cannot be shown is said on
    // stderr once, until one is shown again.
    void Present(bool running) override;

private:
    wl_display* connection_;
    wl_surface* wlSurface_;
    wl_shm* shm_;
    DisplayRenderer renderer_;
    std::unique_ptr<ShmSurface> surface_;
    std::string lastError_;
};
