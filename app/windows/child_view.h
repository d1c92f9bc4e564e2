// The display view on Win32: the child window between the bars that owns
// the renderer, drives the 40 ms frame timer and carries the program's
// commands (multisampling level, start, pause) through the shared rules.
#pragma once

#include <windows.h>

#include <functional>

#include "dib_surface.h"
#include "display_placement.h"
#include "display_renderer.h"
#include "view_logic.h"
#include "wgl_surface.h"

class CChildView : public ViewWindow {
public:
    CChildView() = default;
    CChildView(const CChildView&) = delete;
    CChildView& operator=(const CChildView&) = delete;

    // Starts the renderer (GDI+, the pixel-format probe, or the CPU
    // backend's sample counts with --renderer cpu) and chooses the default
    // sample count. Once, before the window exists.
    bool PrepareRenderer();
    // Creates the view window under parent as its first pane, with the
    // context for the current sample count.
    bool CreateDisplayWindow(HWND parent);

    // Called after every frame the view draws, so that what the frame shows
    // beside the display keeps pace with it.
    void SetFrameDrawn(std::function<void()> callback) { m_frameDrawn = std::move(callback); }

    // Runs one of the view's commands; false when it is not the view's.
    bool OnCommand(int id);
    // Enabling and check mark of one of the view's commands.
    bool UpdateCommand(int id, CommandUi* ui) const;

    HWND Window() const { return m_window; }
    int SampleCount() const { return m_state.Samples(); }
    bool IsRunning() const { return m_state.Running(); }
    const DisplayRenderer& Renderer() const { return m_renderer; }
    // Where the display lies in the view now: for mapping a pointer's
    // position to display units.
    const ViewPlacement& Placement() const { return m_placed; }

    bool CreateWithSamples(int samples) override;
    void DestroyWindow() override;
    void StartTimer() override;
    void StopTimer() override;
    void Invalidate() override;
    void Relayout() override;
    void ReportRecreateFailure(int samples, bool restored) override;
    void CloseProgram() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    DisplayRenderer m_renderer;
    DisplayPlacement m_placement;
    ViewPlacement m_placed;
    ViewState m_state;
    // The view's own pixel format and context, as Windows shows them; under
    // Wine, whose child windows never show their GL drawable, frames drawn
    // off screen and copied into the view.
    WglWindowSurface m_ownSurface;
    WglPresentedSurface m_presentedSurface;
    // With --renderer cpu: no GL, the CPU backend's frames put on the view.
    DibWindowSurface m_dibSurface;
    HWND m_window = nullptr;
    HWND m_parent = nullptr;
    std::function<void()> m_frameDrawn;
};
