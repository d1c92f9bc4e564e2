// The display view of the page: the renderer on the canvas, the view's
// commands as the page's controls, and the frame cycle on the browser's
// animation frames.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "display_renderer.h"
#include "frame_clock.h"
#include "page_renderer.h"
#include "page_surface.h"
#include "view_logic.h"
#include "webgl_surface.h"

// What the page's address asks for.
struct PageOptions {
    int frames = 1;    // frames drawn at once on opening, the last one shown
    int samples = -1;  // -1: the view's default rule
    bool paused = false;
    // The drawing library's batched submission mode, measured faster than
    // exact mode on every renderer of the page (docs/BROWSER.md).
    bool batched = true;
    PageRenderer renderer = PageRenderer::Auto;
    std::string data;  // mqtt://... to subscribe to, or empty
};

// Reads the arguments the page passes from its address: --frames N,
// --samples S, --paused, --batched, --exact, --renderer auto|webgl|cpu,
// --data SOURCE. False with the reason in *error for others.
bool parsePageOptions(int argc, const char* const* argv, PageOptions* options, std::string* error);

class WebHost : private ViewWindow {
public:
    // Shows display on the page with options; false when the page shows a
    // failure instead.
    bool Start(const HostedDisplay& display, const PageOptions& options, double nowMs);
    // One of the page's controls was chosen.
    void Command(int id, double nowMs);
    // An animation frame of the browser at nowMs.
    void Refresh(double nowMs);

    // An event for the display at canvasX, canvasY: the canvas's own pixels
    // from its top left corner (pointer events; ignored for keys). Delivered
    // before the next frame's update, paused or not.
    void QueueEvent(GrEvent event, double canvasX, double canvasY);
    DisplayRenderer& Renderer() { return renderer_; }

    int Frame() const { return frame_; }
    std::vector<uint8_t> ReadFrame() const { return surface_ ? surface_->ReadFrame() : std::vector<uint8_t>(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    bool CreateWithSamples(int samples) override;
    void DestroyWindow() override;
    void StartTimer() override { timerRunning_ = true; clock_.Start(nowMs_); }
    void StopTimer() override { timerRunning_ = false; }
    void Invalidate() override { paintWanted_ = true; }
    void Relayout() override { renderer_.Resize(width_, height_); }
    void ReportRecreateFailure(int samples, bool restored) override;
    void CloseProgram() override;

    void Paint(bool running);
    void AddControls();
    void UpdateControls();

    DisplayRenderer renderer_;
    WebGlProbe probe_;
    PageRendering rendering_;
    std::unique_ptr<PageSurface> surface_;
    ViewState view_;
    FrameClock clock_;
    int width_ = 0;
    int height_ = 0;
    int frame_ = 0;
    double nowMs_ = 0.0;
    bool timerRunning_ = false;
    bool paintWanted_ = false;
    bool closed_ = false;
};
