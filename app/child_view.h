// The display view: owns the renderer and the GL window it draws into,
// drives the frame timer and carries the program's commands (multisampling
// level, start, pause). The frame offers it every command first.
#pragma once

#include <wx/event.h>
#include <wx/timer.h>

#include <memory>

#include "canvas_surface.h"
#include "display_renderer.h"

class wxGLCanvas;
class wxWindow;

// The frame timer: one frame per tick while running.
constexpr int kFrameTimerId = 1;
constexpr int kFramePeriodMs = 40;

class CChildView : public wxEvtHandler {
public:
    CChildView();
    ~CChildView() override;
    CChildView(const CChildView&) = delete;
    CChildView& operator=(const CChildView&) = delete;

    // Starts the renderer with the probed pixel formats and chooses the
    // default sample count. Once, before the window exists.
    bool PrepareRenderer(PixelFormatProbe& probe);
    // Creates the GL window under parent with the configuration the table
    // holds for the current sample count, and the renderer's context in it.
    // On failure no window is left.
    bool CreateDisplayWindow(wxWindow* parent);
    // Makes the window again with samples; if that fails, says so and goes
    // back to the previous sample count.
    void SetSampleCount(int samples);
    // Releases the renderer in the window's context, then destroys the window.
    void DestroyDisplayWindow();

    wxGLCanvas* Window() const { return m_window; }
    int SampleCount() const { return m_samples; }
    bool IsRunning() const { return m_running; }
    bool IsTimerRunning() const { return m_timer.IsRunning(); }
    const DisplayRenderer& Renderer() const { return m_renderer; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnEraseBackground(wxEraseEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnMultisampling(wxCommandEvent& event);
    void OnStart(wxCommandEvent& event);
    void OnPause(wxCommandEvent& event);
    void OnUpdateMultisampling(wxUpdateUIEvent& event);
    void OnUpdateStart(wxUpdateUIEvent& event);
    void OnUpdatePause(wxUpdateUIEvent& event);

    // Viewport and projection for the window's client area in physical pixels.
    void ResizeToWindow();
    void ReportRecreateFailure(wxWindow* parent, int samples, bool restored);

    DisplayRenderer m_renderer;
    int m_samples = 0;
    bool m_running = false;
    wxTimer m_timer;
    wxGLCanvas* m_window = nullptr;
    std::unique_ptr<CanvasSurface> m_surface;
};
