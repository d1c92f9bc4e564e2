// The renderer's surface for a view drawn by the library's CPU backend: no
// GL context; the finished frame is copied into a cairo image, which the
// window's paint handler draws as the toolkit draws any bitmap.
#pragma once

#include "view_surface.h"

class wxWindow;
typedef struct _cairo_surface cairo_surface_t;

class CpuWindowSurface : public ViewSurface {
public:
    explicit CpuWindowSurface(wxWindow* window);
    ~CpuWindowSurface() override;
    CpuWindowSurface(const CpuWindowSurface&) = delete;
    CpuWindowSurface& operator=(const CpuWindowSurface&) = delete;

    // The window has nothing to bind: true while its widget exists.
    bool Bind() override;
    bool CreateContext(int) override { return true; }
    bool MakeCurrent() override { return true; }
    void DeleteContext() override {}
    bool Exists() const override;
    void Release() override {}
    // Reads the finished frame into the image.
    void SwapBuffers() override;
    void ReportError(const char* text, const char* detail, const char* caption) override;
    void ShowFrame(wxDC& dc) override;

private:
    // The image at the window's size in physical pixels; made again only
    // when that changes.
    bool SizeImage(int width, int height);
    // Says on stderr why a frame cannot be shown, the first time only.
    void Complain(const char* failure);

    wxWindow* window_;
    cairo_surface_t* image_ = nullptr;
    bool complained_ = false;
};
