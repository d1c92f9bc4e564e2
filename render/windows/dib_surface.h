// A window shown by the CPU backend: no GL context at all. Each frame is
// read back from the drawing library and put on the window's device context
// with StretchDIBits. The sample count comes as the format id of the CPU
// backend's table (see cpu_formats.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "render_surface.h"

class DibWindowSurface : public RenderSurface {
public:
    void SetWindow(HWND window) { window_ = window; }

    bool Bind() override;
    bool CreateContext(int format) override;
    bool MakeCurrent() override { return dc_ != nullptr; }
    void DeleteContext() override {}
    bool Exists() const override;
    void Release() override;
    // Shows the frame just drawn, as large as the window's client area.
    void SwapBuffers() override;
    void ReportError(const char* text, const char* detail, const char* caption) override;

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    // The frame's pixels, kept between frames so that a frame of the same
    // size allocates nothing.
    std::vector<uint8_t> pixels_;
};
