#include "shm_surface.h"

#include <sys/mman.h>
#include <unistd.h>

#include <wayland-client.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "gr_display.h"
#include "xrgb_rows.h"

namespace {

constexpr int kBytesPerPixel = 4;

void bufferRelease(void* data, wl_buffer*) { static_cast<ShmSurface::Buffer*>(data)->busy = false; }

const wl_buffer_listener kBufferListener = {bufferRelease};

}  // namespace

ShmSurface::ShmSurface(wl_display* display, wl_surface* surface, wl_shm* shm)
    : display_(display), surface_(surface), shm_(shm), queue_(wl_display_create_queue(display))
{
}

ShmSurface::~ShmSurface()
{
    DropBuffers();
    wl_event_queue_destroy(queue_);
}

void ShmSurface::SetSize(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    DropBuffers();
    width_ = width;
    height_ = height;
}

void ShmSurface::DropBuffers()
{
    for (Buffer& buffer : buffers_) {
        if (buffer.buffer)
            wl_buffer_destroy(buffer.buffer);
        buffer = Buffer();
    }
    if (memory_)
        munmap(memory_, size_);
    memory_ = nullptr;
    size_ = 0;
}

bool ShmSurface::MakeBuffers()
{
    const size_t stride = static_cast<size_t>(width_) * kBytesPerPixel;
    const size_t one = stride * height_;
    const size_t size = one * 2;
    const int fd = memfd_create("instrument-panel-kiosk", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(size)) != 0) {
        error_ = "cannot make shared memory for a " + std::to_string(width_) + " x " + std::to_string(height_) +
                 " frame: " + std::strerror(errno);
        if (fd >= 0)
            close(fd);
        return false;
    }
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        error_ = std::string("cannot map the frame's shared memory: ") + std::strerror(errno);
        close(fd);
        return false;
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<int32_t>(size));
    close(fd);
    // Buffers made from the pool take its queue, and their releases with it.
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(pool), queue_);
    memory_ = memory;
    size_ = size;
    for (int i = 0; i < 2; ++i) {
        Buffer& buffer = buffers_[i];
        buffer.buffer = wl_shm_pool_create_buffer(pool, static_cast<int32_t>(one * i), width_, height_,
                                                  static_cast<int32_t>(stride), WL_SHM_FORMAT_XRGB8888);
        buffer.pixels = static_cast<uint8_t*>(memory) + one * i;
        buffer.busy = false;
        wl_buffer_add_listener(buffer.buffer, &kBufferListener, &buffer);
    }
    // The buffers keep the memory; the pool is no longer needed.
    wl_shm_pool_destroy(pool);
    return true;
}

ShmSurface::Buffer* ShmSurface::FreeBuffer()
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Releases read from the connection so far; then, if both buffers
        // are still held, those the compositor has sent by now.
        if (attempt == 0)
            wl_display_dispatch_queue_pending(display_, queue_);
        else if (wl_display_roundtrip_queue(display_, queue_) < 0)
            return nullptr;
        for (Buffer& buffer : buffers_)
            if (!buffer.busy)
                return &buffer;
    }
    return nullptr;
}

void ShmSurface::SwapBuffers()
{
    error_.clear();
    if (width_ <= 0 || height_ <= 0)
        return;
    if (!memory_ && !MakeBuffers())
        return;
    Buffer* buffer = FreeBuffer();
    if (!buffer)
        return;
    if (!grReadPixels(width_, height_, buffer->pixels)) {
        error_ = "the frame cannot be read";
        return;
    }
    flipRgbaIntoXrgb(buffer->pixels, width_, height_, width_ * kBytesPerPixel);
    wl_surface_attach(surface_, buffer->buffer, 0, 0);
    wl_surface_damage_buffer(surface_, 0, 0, width_, height_);
    wl_surface_commit(surface_);
    buffer->busy = true;
    wl_display_flush(display_);
}

void ShmSurface::ReportError(const char* text, const char* detail, const char* caption)
{
    reported_ = true;
    const bool detailed = detail && *detail;
    std::fprintf(stderr, "instrument-panel-kiosk: %s: %s%s%s\n", caption, text, detailed ? " " : "",
                 detailed ? detail : "");
}
