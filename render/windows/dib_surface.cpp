#include "dib_surface.h"

#include <utility>

#include "gr_display.h"
#include "wide_text.h"

bool DibWindowSurface::Bind()
{
    if (!window_)
        return false;
    dc_ = GetDC(window_);
    return dc_ != nullptr;
}

// The CPU backend's frame needs nothing of the window but its size.
bool DibWindowSurface::CreateContext(int format) { return dc_ != nullptr && format >= 0; }

bool DibWindowSurface::Exists() const { return window_ && IsWindow(window_); }

void DibWindowSurface::Release()
{
    if (dc_)
        ReleaseDC(window_, dc_);
    dc_ = nullptr;
}

void DibWindowSurface::SwapBuffers()
{
    RECT client = {};
    if (!dc_ || !GetClientRect(window_, &client) || client.right <= 0 || client.bottom <= 0)
        return;
    const int width = static_cast<int>(client.right), height = static_cast<int>(client.bottom);
    pixels_.resize(static_cast<size_t>(width) * height * 4);
    if (!grReadPixels(width, height, pixels_.data()))
        return;
    // RGBA as the library reads it, BGRX as a 32-bit DIB holds it.
    for (size_t i = 0; i < pixels_.size(); i += 4)
        std::swap(pixels_[i], pixels_[i + 2]);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom row first, as read back
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc_, 0, 0, width, height, 0, 0, width, height, pixels_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void DibWindowSurface::ReportError(const char* text, const char* detail, const char* caption)
{
    MessageBoxW(window_, wideText(messageBoxText(text, detail)).c_str(), wideText(caption).c_str(), MB_ICONERROR | MB_OK);
}
