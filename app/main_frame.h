// The main window: menu, accelerators, toolbar and status bar around the
// display view. The view and its renderer come first; without them the
// program cannot run, and no bar is made.
#pragma once

#include <wx/frame.h>
#include <wx/timer.h>

#include "child_view.h"

class PixelFormatProbe;
class wxToolBar;
class wxStatusBar;

// The view's client area, in physical pixels, that shows the whole
// 768 x 1024 area of the built-in display with its margin at the left and
// bottom; the frame sizes the view so for whichever display it shows.
constexpr int kViewWidth = 768 + static_cast<int>(kDisplayMargin);
constexpr int kViewHeight = 1024 + static_cast<int>(kDisplayMargin);

class CMainFrame : public wxFrame {
public:
    CMainFrame();

    // Creates the window, then the view with its renderer and window (see
    // CChildView::PrepareRenderer), then the bars; nothing is shown. On
    // false the caller destroys the frame.
    bool Create(PixelFormatProbe& probe, ProgramRenderer renderer = ProgramRenderer::Gl);

    CChildView& View() { return m_wndView; }
    // Applies --fullscreen once the frame is shown (--no-bars is Create's).
    void ShowAsAsked();

protected:
    // Every command and command update goes to the view first.
    bool TryBefore(wxEvent& event) override;

private:
    bool CreateToolBarWithImages();
    void CreateStatusBarWithPanes();
    void ShowDisplayNameInTitle();
    // As large as the display area needs, within the screen's work area.
    void SizeToShowDisplay();
    void ToggleBar(wxWindow* bar);
    // The menu, toolbar and status bar all shown or all hidden.
    void ShowBars(bool show);
    // F11: full screen on and off; F12: the bars back or away.
    void OnCharHook(wxKeyEvent& event);

    void OnSetFocus(wxFocusEvent& event);
    void OnIdle(wxIdleEvent& event);
    void ShowDataStatus();
    void OnExit(wxCommandEvent& event);
    void OnViewToolbar(wxCommandEvent& event);
    void OnViewStatusBar(wxCommandEvent& event);
    void OnUpdateViewToolbar(wxUpdateUIEvent& event);
    void OnUpdateViewStatusBar(wxUpdateUIEvent& event);

    wxStatusBar* m_wndStatusBar = nullptr;
    // Refreshes the data source's state in the status bar.
    wxTimer m_dataStatusTimer;
    wxToolBar* m_wndToolBar = nullptr;
    CChildView m_wndView;
};
