#include "app.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "about_dlg.h"
#include "cpu_formats.h"
#include "glx_probe.h"
#include "main_frame.h"
#include "renderer_option.h"
#include "resource_ids.h"
#include "shell_strings.h"

App::App() { Bind(wxEVT_MENU, &App::OnAppAbout, this, ID_APP_ABOUT); }

// The toolkit calls this from its loop, not from the signal: closing the
// window there ends the program as File > Exit does, the recording whole.
static void closeOnStopSignal(int)
{
    if (wxWindow* window = wxTheApp->GetTopWindow())
        window->Close(true);
    else
        wxTheApp->ExitMainLoop();
}

bool App::OnInit()
{
    SetAppDisplayName(wxString::FromUTF8(ShellString(AFX_IDS_APP_TITLE)));
    SetSignalHandler(SIGINT, closeOnStopSignal);
    SetSignalHandler(SIGTERM, closeOnStopSignal);

    auto* frame = new CMainFrame;
    if (!CreateFrame(frame)) {
        frame->Destroy();
        return false;
    }
    SetTopWindow(frame);
    frame->Show(true);
    frame->ShowAsAsked();
    frame->Update();
    return true;
}

bool App::CreateFrame(CMainFrame* frame)
{
    // The CPU backend needs no GL: GLX is not even asked.
    if (programRenderer() == ProgramRenderer::Cpu) {
        CpuFormatProbe probe;
        return frame->Create(probe, ProgramRenderer::Cpu);
    }
    GlxProbe probe(wxGetX11Display());
    if (frame->Create(probe))
        return true;
    // No message box: the toolkit may be unable to show one; a terminal user
    // still learns why the program ended.
    if (!probe.Error().empty())
        std::fprintf(stderr,
                     "instrument-panel: the display has no usable OpenGL (GLX): %s; "
                     "--renderer cpu draws without OpenGL\n",
                     probe.Error().c_str());
    return false;
}

void App::OnAppAbout(wxCommandEvent&)
{
    CAboutDlg dialog(GetTopWindow());
    dialog.ShowModal();
}

void PreferX11Backend() { setenv("GDK_BACKEND", "x11", 0); }
