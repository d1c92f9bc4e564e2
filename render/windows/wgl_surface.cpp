#include "wgl_surface.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/wglext.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "wgl_probe.h"
#include "wide_text.h"

namespace {

void* wglLookup(const char* name) { return reinterpret_cast<void*>(wglGetProcAddress(name)); }

}  // namespace

bool WglWindowSurface::Bind()
{
    if (!window_)
        return false;
    SetWindowLongPtrW(window_, GWL_STYLE,
                      GetWindowLongPtrW(window_, GWL_STYLE) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    dc_ = GetDC(window_);
    return dc_ != nullptr;
}

bool WglWindowSurface::CreateContext(int format)
{
    // Only the format number counts; the descriptor is carried along.
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    if (!dc_ || !SetPixelFormat(dc_, format, &descriptor))
        return false;
    context_ = wglCreateContext(dc_);
    return context_ != nullptr;
}

bool WglWindowSurface::MakeCurrent() { return dc_ && context_ && wglMakeCurrent(dc_, context_); }

void WglWindowSurface::DeleteContext()
{
    if (dc_)
        wglMakeCurrent(dc_, nullptr);
    if (context_) {
        wglDeleteContext(context_);
        context_ = nullptr;
    }
}

bool WglWindowSurface::Exists() const { return window_ && IsWindow(window_); }

void WglWindowSurface::Release()
{
    if (dc_)
        ReleaseDC(window_, dc_);
    dc_ = nullptr;
}

void WglWindowSurface::SwapBuffers()
{
    if (dc_)
        ::SwapBuffers(dc_);
}

void WglWindowSurface::ReportError(const char* text, const char* detail, const char* caption)
{
    MessageBoxW(window_, wideText(messageBoxText(text, detail)).c_str(), wideText(caption).c_str(), MB_ICONERROR | MB_OK);
}

WglHiddenSurface::WglHiddenSurface(int width, int height) : width_(width), height_(height) {}

WglHiddenSurface::~WglHiddenSurface()
{
    DeleteContext();
    if (window_) {
        Release();
        DestroyWindow(window_);
    }
}

bool WglHiddenSurface::Bind()
{
    if (!window_)
        window_ = CreateWindowExW(0, plainWindowClass(), L"", WS_POPUP, 0, 0, windowSide_.cx, windowSide_.cy,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) {
        error_ = "cannot create the hidden window for the GL context";
        return false;
    }
    return WglWindowSurface::Bind();
}

bool WglHiddenSurface::CreateContext(int format)
{
    format_ = format;
    return WglWindowSurface::CreateContext(format);
}

int WglHiddenSurface::FormatSamples() const
{
    const auto query = reinterpret_cast<PFNWGLGETPIXELFORMATATTRIBIVARBPROC>(
        reinterpret_cast<void*>(wglGetProcAddress("wglGetPixelFormatAttribivARB")));
    const int attribute = WGL_SAMPLES_ARB;
    int samples = 0;
    if (!query || !query(dc_, format_, 0, 1, &attribute, &samples))
        return 0;
    return samples;
}

bool WglHiddenSurface::MakeCurrent()
{
    if (!WglWindowSurface::MakeCurrent())
        return false;
    if (frameTarget_.Exists())
        return true;
    const int samples = FormatSamples();
    if (!FrameTarget::Available(samples, wglLookup)) {
        // Only the window's own buffers are left: the window is made anew
        // as large as the frame (a GL drawable keeps the size it was made
        // with), and so is the context on it.
        windowSide_ = {width_, height_};
        WglWindowSurface::DeleteContext();
        WglWindowSurface::Release();
        DestroyWindow(window_);
        window_ = nullptr;
        return Bind() && WglWindowSurface::CreateContext(format_) && WglWindowSurface::MakeCurrent();
    }
    std::string error;
    if (frameTarget_.Create(width_, height_, samples, false, wglLookup, &error))
        return true;
    error_ = "WGL: " + error;
    return false;
}

void WglHiddenSurface::DeleteContext()
{
    if (context_ && wglGetCurrentContext() == context_)
        frameTarget_.Destroy();
    else
        frameTarget_.Abandon();
    WglWindowSurface::DeleteContext();
}

void WglHiddenSurface::SwapBuffers()
{
    frameTarget_.Resolve();
    glFinish();
}

void WglHiddenSurface::ReportError(const char*, const char*, const char*) { reported_ = true; }

WglPresentedSurface::WglPresentedSurface()
    : WglHiddenSurface(std::max(1, GetSystemMetrics(SM_CXVIRTUALSCREEN)),
                       std::max(1, GetSystemMetrics(SM_CYVIRTUALSCREEN)))
{
}

bool WglPresentedSurface::Exists() const { return view_ && IsWindow(view_); }

void WglPresentedSurface::Release()
{
    WglWindowSurface::Release();
    if (window_)
        DestroyWindow(window_);
    window_ = nullptr;
}

void WglPresentedSurface::SwapBuffers()
{
    RECT client = {};
    if (!dc_ || !view_ || !GetClientRect(view_, &client))
        return;
    // A view larger than the desktop shows the buffer's part of the frame.
    const int width = std::min(static_cast<int>(client.right), width_);
    const int height = std::min(static_cast<int>(client.bottom), height_);
    if (width <= 0 || height <= 0)
        return;
    WglHiddenSurface::SwapBuffers();
    const size_t row = static_cast<size_t>(width) * 4;
    pixels_.resize(row * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(OffScreen() ? GL_COLOR_ATTACHMENT0 : GL_BACK);
    glReadPixels(0, 0, width, height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pixels_.data());
    // The DIB's rows go bottom-up: a frame stored top row first is turned.
    if (TopRowFirst())
        for (int y = 0; y < height / 2; ++y)
            std::swap_ranges(pixels_.begin() + static_cast<ptrdiff_t>(y * row),
                             pixels_.begin() + static_cast<ptrdiff_t>((y + 1) * row),
                             pixels_.begin() + static_cast<ptrdiff_t>((height - 1 - y) * row));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC viewDc = GetDC(view_);
    if (!viewDc)
        return;
    SetDIBitsToDevice(viewDc, 0, static_cast<int>(client.bottom) - height, static_cast<DWORD>(width),
                      static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height), pixels_.data(), &info,
                      DIB_RGB_COLORS);
    ReleaseDC(view_, viewDc);
}

void WglPresentedSurface::ReportError(const char* text, const char* detail, const char* caption)
{
    MessageBoxW(view_, wideText(messageBoxText(text, detail)).c_str(), wideText(caption).c_str(), MB_ICONERROR | MB_OK);
}
