// The display view: owns the renderer and the window it draws into (a GL
// window, or a plain one showing the CPU backend's frames), drives the frame
// timer and carries the program's commands (multisampling level, start,
// pause). The frame offers it every command first.
#pragma once

#include <wx/event.h>
#include <wx/timer.h>

#include <memory>

#include "display_placement.h"
#include "display_renderer.h"
#include "renderer_option.h"
#include "view_logic.h"
#include "view_surface.h"

class wxWindow;

class CChildView : public wxEvtHandler, private ViewWindow {
public:
    CChildView();
    ~CChildView() override;
    CChildView(const CChildView&) = delete;
    CChildView& operator=(const CChildView&) = delete;

    // Starts the renderer with the probed pixel formats (the CPU backend's
    // sample counts for ProgramRenderer::Cpu) and chooses the default sample
    // count. Once, before the window exists.
    bool PrepareRenderer(PixelFormatProbe& probe, ProgramRenderer renderer = ProgramRenderer::Gl);
    // Creates the view window under parent for the current sample count (a
    // GL window with the table's configuration, and the renderer's context
    // in it; or a plain window). On failure no window is left.
    bool CreateDisplayWindow(wxWindow* parent);
    // Releases the renderer in the window's context, then destroys the window.
    void DestroyDisplayWindow();

    wxWindow* Window() const { return m_window; }
    int SampleCount() const { return m_state.Samples(); }
    bool IsRunning() const { return m_state.Running(); }
    bool IsTimerRunning() const { return m_timer.IsRunning(); }
    const DisplayRenderer& Renderer() const { return m_renderer; }
    // Where the display lies in the view now: for mapping a pointer's
    // position (physical pixels) to display units.
    const ViewPlacement& Placement() const { return m_placed; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnEraseBackground(wxEraseEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnTimer(wxTimerEvent& event);
    // Multisampling levels, start and pause, by the shared rules.
    void OnViewCommand(wxCommandEvent& event);
    void OnUpdateViewCommand(wxUpdateUIEvent& event);

    // Viewport and projection for the window's client area in physical pixels.
    void ResizeToWindow();

    // The window side of the shared view rules; a failed re-creation says
    // so and goes back to the previous sample count.
    bool CreateWithSamples(int samples) override;
    void DestroyWindow() override { DestroyDisplayWindow(); }
    void StartTimer() override { m_timer.Start(kViewTimerPeriodMs); }
    void StopTimer() override
    {
        m_timer.Stop();
        m_tickPending = false;
    }
    void Invalidate() override;
    void Relayout() override;
    void ReportRecreateFailure(int samples, bool restored) override;
    void CloseProgram() override;

    DisplayRenderer m_renderer;
    DisplayPlacement m_placement;
    ViewPlacement m_placed;
    ViewState m_state;
    wxWindow* m_parent = nullptr;
    wxTimer m_timer;
    // A tick has come since the last paint.
    bool m_tickPending = false;
    ProgramRenderer m_kind = ProgramRenderer::Gl;
    wxWindow* m_window = nullptr;
    std::unique_ptr<ViewSurface> m_surface;
};
