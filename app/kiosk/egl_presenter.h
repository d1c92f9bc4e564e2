// Frames drawn by the GL on an EGL window surface.
#pragma once

#include <memory>

#include "display_renderer.h"
#include "egl_window_surface.h"
#include "frame_presenter.h"

struct wl_display;
struct wl_surface;

class EglPresenter : public FramePresenter {
public:
    // Draws through the drawing library's backend named gl in a context of
    // kind (see gl_choice.h).
    EglPresenter(wl_display* connection, wl_surface* surface, const std::string& gl, GlContextKind kind);
    ~EglPresenter() override;

    bool Prepare(std::string* error) override;
    const PixelFormatTable& Formats() const override { return renderer_.Formats(); }
    bool Start(int samples, int width, int height, std::string* error) override;
    void Stop() override;
    bool Started() const override { return surface_ != nullptr; }
    void Resize(int width, int height) override;
    void SetPlacement(std::function<GrPlacement(int, int)> place) override { renderer_.SetPlacement(std::move(place)); }
    void Present(bool running) override;

private:
    wl_display* connection_;
    wl_surface* wlSurface_;
    WaylandEglProbe probe_;
    DisplayRenderer renderer_;
    std::unique_ptr<WaylandEglSurface> surface_;
};
