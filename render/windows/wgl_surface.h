// A window's WGL drawable: its device context, the pixel format set on it
// and the GL context. WglHiddenSurface keeps its frames in the back buffer
// for reading back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "render_surface.h"

class WglWindowSurface : public RenderSurface {
public:
    explicit WglWindowSurface(HWND window = nullptr) : window_(window) {}
    ~WglWindowSurface() override = default;

    // The window the next Bind takes its device context from.
    void SetWindow(HWND window) { window_ = window; }
    HWND Window() const { return window_; }

    bool Bind() override;
    bool CreateContext(int format) override;
    bool MakeCurrent() override;
    void DeleteContext() override;
    bool Exists() const override;
    void Release() override;
    void SwapBuffers() override;
    void ReportError(const char* text, const char* detail, const char* caption) override;

protected:
    HWND window_;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
};

// A popup window that is never shown, width x height pixels of client area.
class WglHiddenSurface : public WglWindowSurface {
public:
    WglHiddenSurface(int width, int height);
    ~WglHiddenSurface() override;
    WglHiddenSurface(const WglHiddenSurface&) = delete;
    WglHiddenSurface& operator=(const WglHiddenSurface&) = delete;

    bool Bind() override;
    // The frame stays in the back buffer, where it is read from.
    void SwapBuffers() override;
    void ReportError(const char* text, const char* detail, const char* caption) override;
    // Why the surface could not be made; empty when it was.
    const std::string& Error() const { return error_; }
    // Whether a start-up failure was already reported through ReportError.
    bool Reported() const { return reported_; }
    // The back buffer is read in GL's own order, bottom row first.
    bool TopRowFirst() const { return false; }

protected:
    int width_;
    int height_;

private:
    std::string error_;
    bool reported_ = false;
};

// Draws in a hidden window as large as the desktop and shows each frame in
// the view window through GDI. GDI output into a child window always
// reaches the screen, while a child window's own GL drawable is not shown
// by every implementation (Wine 8 keeps it off screen). The view itself
// gets no pixel format.
class WglPresentedSurface : public WglHiddenSurface {
public:
    WglPresentedSurface();

    // The window the frames are shown in.
    void SetView(HWND view) { view_ = view; }

    bool Exists() const override;
    // Gives back the device context and the hidden window with its pixel
    // format, so the next Bind may choose another.
    void Release() override;
    // Copies the view's part of the back buffer into the view.
    void SwapBuffers() override;
    void ReportError(const char* text, const char* detail, const char* caption) override;

private:
    HWND view_ = nullptr;
    std::vector<unsigned char> pixels_;
};

