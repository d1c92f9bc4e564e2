// The page's canvas as the surface of the drawing library's CPU backend,
// for a browser without WebGL 2: the library draws the frame into the
// module's memory on the page's one thread, and each finished frame is put
// onto a 2-D canvas of the view's size. No GL context; the "formats" are
// the backend's sample counts (cpu_formats.h).
#pragma once

#include <cstdint>
#include <vector>

#include "page_surface.h"

class Canvas2dSurface : public PageSurface {
public:
    Canvas2dSurface(int width, int height);

    // Makes the canvas the first time; false when the browser gives it no
    // 2-D context.
    bool Bind() override;
    bool CreateContext(int format) override { return format >= 0; }
    bool MakeCurrent() override { return true; }
    void DeleteContext() override {}
    bool Exists() const override { return exists_; }
    void Release() override { exists_ = false; }
    // Puts the finished frame onto the canvas.
    void SwapBuffers() override;
    // putImageData has changed the canvas by the time it returns.
    void Finish() override {}
    // Read back from the canvas itself, not from the library's frame.
    std::vector<uint8_t> ReadFrame() const override;

private:
    int width_;
    int height_;
    bool exists_ = false;
    bool complained_ = false;
    std::vector<uint8_t> stored_;  // the library's frame, bottom row first
    std::vector<uint8_t> shown_;   // turned upright and opaque for the canvas
};
