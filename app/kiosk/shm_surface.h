// The renderer's surface for frames drawn by the CPU backend: no context;
// each finished frame is copied into one of two Wayland shared-memory
// buffers and committed. A buffer is drawn into again only after the
// compositor's wl_buffer.release; while both are held the frame is dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "render_surface.h"

struct wl_buffer;
struct wl_display;
struct wl_event_queue;
struct wl_shm;
struct wl_surface;

class ShmSurface : public RenderSurface {
public:
    ShmSurface(wl_display* display, wl_surface* surface, wl_shm* shm);
    ~ShmSurface() override;
    ShmSurface(const ShmSurface&) = delete;
    ShmSurface& operator=(const ShmSurface&) = delete;

    // The frame's size in pixels; the buffers follow at the next frame.
    void SetSize(int width, int height);
    // Why the last frame could not be shown; empty when it was.
    const std::string& Error() const { return error_; }
    // Whether a failure went to stderr through ReportError.
    bool Reported() const { return reported_; }

    bool Bind() override { return true; }
    bool CreateContext(int) override { return true; }
    bool MakeCurrent() override { return true; }
    void DeleteContext() override {}
    bool Exists() const override { return true; }
    void Release() override {}
    // Shows the finished frame.
    void SwapBuffers() override;
    void ReportError(const char* text, const char* detail, const char* caption) override;

    // A buffer and whether the compositor holds it; public only for the
    // release listener.
    struct Buffer {
        wl_buffer* buffer = nullptr;
        uint8_t* pixels = nullptr;
        bool busy = false;
    };

private:
    bool MakeBuffers();
    void DropBuffers();
    Buffer* FreeBuffer();

    wl_display* display_;
    wl_surface* surface_;
    wl_shm* shm_;
    // The buffers' events, dispatched here and never by the view's loop.
    wl_event_queue* queue_;
    int width_ = 0;
    int height_ = 0;
    void* memory_ = nullptr;
    size_t size_ = 0;
    Buffer buffers_[2];
    std::string error_;
    bool reported_ = false;
};
