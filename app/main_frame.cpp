#include "main_frame.h"

#include <wx/display.h>
#include <wx/glcanvas.h>
#include <wx/menu.h>
#include <wx/statusbr.h>

#include <iostream>
#include <wx/toolbar.h>

#include <algorithm>

#include "display_option.h"
#include "gr_display.h"
#include "main_menu.h"
#include "resource_ids.h"
#include "shell_bitmaps.h"
#include "shell_strings.h"
#include "data_option.h"
#include "status_panes.h"
#include "window_options.h"

namespace {

// The toolbar's buttons: command and image in the strip; a zero command is
// a separator.
struct ToolButton {
    int id;
    int image;
};
const ToolButton kToolButtons[] = {{ID_START, 0}, {ID_PAUSE, 1}, {0, -1}, {ID_APP_ABOUT, 2}};

}  // namespace

CMainFrame::CMainFrame()
{
    Bind(wxEVT_SET_FOCUS, &CMainFrame::OnSetFocus, this);
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
    Bind(wxEVT_MENU, &CMainFrame::OnExit, this, ID_APP_EXIT);
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_MENU, &CMainFrame::OnViewToolbar, this, ID_VIEW_TOOLBAR);
    Bind(wxEVT_MENU, &CMainFrame::OnViewStatusBar, this, ID_VIEW_STATUS_BAR);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewToolbar, this, ID_VIEW_TOOLBAR);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewStatusBar, this, ID_VIEW_STATUS_BAR);
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
}

bool CMainFrame::Create(PixelFormatProbe& probe, ProgramRenderer renderer)
{
    if (!wxFrame::Create(nullptr, wxID_ANY, wxString::FromUTF8(ShellString(IDR_MAINFRAME))))
        return false;
    SetIcons(LoadMainIcons());
    SetMenuBar(CreateMainMenu());
    SetAcceleratorTable(CreateMainAccelerators());
    if (!m_wndView.PrepareRenderer(probe, renderer) || !m_wndView.CreateDisplayWindow(this))
        return false;
    ShowDisplayNameInTitle();
    if (!CreateToolBarWithImages())
        return false;
    CreateStatusBarWithPanes();
    // Without bars the view takes the whole client area: hidden before sizing.
    if (programWindowOptions().noBars)
        ShowBars(false);
    SizeToShowDisplay();
    if (programFeed().Attached() || programOutputs().Attached()) {
        constexpr int kDataStatusMs = 500;
        m_dataStatusTimer.SetOwner(this);
        Bind(wxEVT_TIMER, [this](wxTimerEvent&) { ShowDataStatus(); }, m_dataStatusTimer.GetId());
        m_dataStatusTimer.Start(kDataStatusMs);
    }
    return true;
}

bool CMainFrame::TryBefore(wxEvent& event)
{
    const wxEventType type = event.GetEventType();
    if ((type == wxEVT_MENU || type == wxEVT_UPDATE_UI) && m_wndView.ProcessEventLocally(event))
        return true;
    return wxFrame::TryBefore(event);
}

bool CMainFrame::CreateToolBarWithImages()
{
    const std::vector<wxBitmap> images = LoadToolbarBitmaps();
    if (images.size() != 3)
        return false;
    m_wndToolBar = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT);
    if (!m_wndToolBar)
        return false;
    m_wndToolBar->SetToolBitmapSize(images[0].GetSize());
    for (const ToolButton& button : kToolButtons) {
        if (button.id == 0) {
            m_wndToolBar->AddSeparator();
            continue;
        }
        m_wndToolBar->AddTool(button.id, wxString(), images[button.image], wxNullBitmap, wxITEM_NORMAL,
                              wxString::FromUTF8(CommandTooltip(button.id)),
                              wxString::FromUTF8(CommandPrompt(button.id)));
    }
    return m_wndToolBar->Realize();
}

void CMainFrame::CreateStatusBarWithPanes()
{
    m_wndStatusBar = CreateStatusBar();
    SetUpStatusPanes(m_wndStatusBar);
    SetStatusText(wxString::FromUTF8(ShellString(AFX_IDS_IDLEMESSAGE)), kMessagePane);
}

void CMainFrame::ShowDisplayNameInTitle()
{
    const GrDisplay* display = m_wndView.Renderer().Display().descriptor;
    SetTitle(wxString::FromUTF8(titleShowingDisplay(GetTitle().utf8_string(), display)));
}

// The display counts in physical pixels, the toolkit's sizes are logical.
void CMainFrame::SizeToShowDisplay()
{
    const WindowGeometry& geometry = programWindowOptions().geometry;
    int width = 0, height = 0;
    const GrDisplay& display = *m_wndView.Renderer().Display().descriptor;
    DisplayPlacement(display.width, display.height, kDisplayMargin, programWindowOptions().placement)
        .NaturalViewSize(&width, &height);
    if (geometry.sizeGiven) {
        width = geometry.width;
        height = geometry.height;
    }
    SetClientSize(FromPhys(wxSize(width, height)));
    if (geometry.positionGiven) {
        // X11's rule: a negative place counts from the right or bottom edge.
        const wxRect screen = wxDisplay(this).GetGeometry();
        const wxSize size = GetSize();
        const int x = geometry.x >= 0 ? geometry.x : screen.GetRight() + 1 + geometry.x - size.x;
        const int y = geometry.y >= 0 ? geometry.y : screen.GetBottom() + 1 + geometry.y - size.y;
        Move(FromPhys(wxPoint(x, y)));
        return;
    }
    if (geometry.sizeGiven)
        return;
    const wxRect screen = wxDisplay(this).GetClientArea();
    const wxSize wanted = GetSize();
    if (wanted.x <= screen.width && wanted.y <= screen.height)
        return;
    SetSize(screen.x, screen.y, std::min(wanted.x, screen.width), std::min(wanted.y, screen.height));
}

void CMainFrame::ShowAsAsked()
{
    if (programWindowOptions().fullscreen)
        ShowFullScreen(true, wxFULLSCREEN_NOBORDER | wxFULLSCREEN_NOCAPTION);
}

void CMainFrame::ShowBars(bool show)
{
    if (wxMenuBar* menu = GetMenuBar())
        menu->Show(show);
    if (m_wndToolBar)
        m_wndToolBar->Show(show);
    if (m_wndStatusBar)
        m_wndStatusBar->Show(show);
    SendSizeEvent();
}

void CMainFrame::OnCharHook(wxKeyEvent& event)
{
    const bool plain = !event.HasAnyModifiers();
    if (plain && event.GetKeyCode() == WXK_F11) {
        ShowFullScreen(!IsFullScreen(), wxFULLSCREEN_NOBORDER | wxFULLSCREEN_NOCAPTION);
        return;
    }
    if (plain && event.GetKeyCode() == WXK_F12) {
        const wxMenuBar* menu = GetMenuBar();
        ShowBars(!(menu && menu->IsShown()));
        return;
    }
    event.Skip();
}

void CMainFrame::ToggleBar(wxWindow* bar)
{
    bar->Show(!bar->IsShown());
    SendSizeEvent();
}

void CMainFrame::OnSetFocus(wxFocusEvent&)
{
    if (wxWindow* view = m_wndView.Window())
        view->SetFocus();
}

// The lock panes follow the keyboard whenever the program has handled its
// pending events.
void CMainFrame::OnIdle(wxIdleEvent& event)
{
    if (m_wndStatusBar)
        UpdateLockPanes(m_wndStatusBar);
    event.Skip();
}

// The message pane names the data source and its state while one feeds the
// display, and the destinations of its outputs; what a source reports once
// goes to standard error.
void CMainFrame::ShowDataStatus()
{
    DataFeed& feed = programFeed();
    for (const std::string& notice : feed.TakeNotices())
        std::cerr << "instrument-panel: " << notice << "\n";
    if (!m_wndStatusBar)
        return;
    std::string text = feed.Attached() ? feed.Status() : std::string();
    if (programOutputs().Attached())
        text += (text.empty() ? "" : "; ") + programOutputs().Status();
    const wxString status = wxString::FromUTF8(text);
    if (m_wndStatusBar->GetStatusText(kMessagePane) != status)
        SetStatusText(status, kMessagePane);
}

void CMainFrame::OnExit(wxCommandEvent&) { Close(); }

// File -> Exit, Alt+F4 and the close button all come here; the frame is
// deleted once the event loop goes idle, so nothing may keep it busy.
void CMainFrame::OnClose(wxCloseEvent& event)
{
    m_wndView.StopFrames();
    m_dataStatusTimer.Stop();
    event.Skip();
}

void CMainFrame::OnViewToolbar(wxCommandEvent&) { ToggleBar(m_wndToolBar); }

void CMainFrame::OnViewStatusBar(wxCommandEvent&) { ToggleBar(m_wndStatusBar); }

void CMainFrame::OnUpdateViewToolbar(wxUpdateUIEvent& event) { event.Check(m_wndToolBar && m_wndToolBar->IsShown()); }

void CMainFrame::OnUpdateViewStatusBar(wxUpdateUIEvent& event)
{
    event.Check(m_wndStatusBar && m_wndStatusBar->IsShown());
}
