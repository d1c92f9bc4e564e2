// A window's WGL drawable: its device context, the pixel format set on it
// and the GL context. WglHiddenSurface keeps its frames in the back buffer
// for reading back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "frame_target.h"
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

// A frame of width x height pixels drawn off-screen in the context of a
// popup window that is never shown. A hidden window's own drawable is no
// place for it: Wine 8 gives a multisampled format's hidden window a buffer
// that is neither multisampled nor stored as a shown window's, and a frame
// as large as the window would cost the window's buffers too. The frame goes
// to a FrameTarget of the format's samples; only a GL without framebuffer
// objects draws into the window, then made as large as the frame.
class WglHiddenSurface : public WglWindowSurface {
public:
    WglHiddenSurface(int width, int height);
    ~WglHiddenSurface() override;
    WglHiddenSurface(const WglHiddenSurface&) = delete;
    WglHiddenSurface& operator=(const WglHiddenSurface&) = delete;

    bool Bind() override;
    bool CreateContext(int format) override;
    // Makes the context current and, the first time, creates the frame's
    // buffers in it; false (with Error()) when they cannot be had whole.
    bool MakeCurrent() override;
    void DeleteContext() override;
    // Ends a frame: resolves its samples for read-back.
    void SwapBuffers() override;
    void ReportError(const char* text, const char* detail, const char* caption) override;
    // Why the surface could not be made; empty when it was.
    const std::string& Error() const { return error_; }
    // Whether a start-up failure was already reported through ReportError.
    bool Reported() const { return reported_; }
    // Whether read-back finds the frame top row first (see FrameTarget).
    bool TopRowFirst() const { return frameTarget_.TopRowFirst(); }
    // Whether the frame is drawn off-screen rather than in the window.
    bool OffScreen() const { return frameTarget_.Exists(); }

protected:
    int width_;
    int height_;

private:
    // The samples of the pixel format set on the window.
    int FormatSamples() const;

    // The hidden window only carries the context while the frame is drawn
    // off-screen.
    SIZE windowSide_ = {1, 1};
    int format_ = 0;
    FrameTarget frameTarget_;
    std::string error_;
    bool reported_ = false;
};

// Draws a frame as large as the desktop as WglHiddenSurface does and shows
// the view's part of each in the view window through GDI. GDI output into a child window always
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
    // Resolves the frame and copies the view's part of it into the view.
    void SwapBuffers() override;
    void ReportError(const char* text, const char* detail, const char* caption) override;

private:
    HWND view_ = nullptr;
    std::vector<unsigned char> pixels_;
};

