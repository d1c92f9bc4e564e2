#include "app.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "about_dlg.h"
#include "cpu_formats.h"
#include "glx_probe.h"
#include "glx_renderer_name.h"
#include "main_frame.h"
#include "renderer_option.h"
#include "resource_ids.h"
#include "shell_strings.h"

App::App() { Bind(wxEVT_MENU, &App::OnAppAbout, this, ID_APP_ABOUT); }

namespace {

// SIGINT or SIGTERM: noted by the handler, acted on by a timer in the
// toolkit's loop, where closing the window is allowed.
volatile std::sig_atomic_t g_stopSignal = 0;

void noteStopSignal(int signal) { g_stopSignal = signal; }

constexpr int kStopCheckMs = 100;

}  // namespace

bool App::OnInit()
{
    SetAppDisplayName(wxString::FromUTF8(ShellString(AFX_IDS_APP_TITLE)));
    // Ended by a signal, the program closes its window as File > Exit does,
    // and the recording ends whole.
    std::signal(SIGINT, noteStopSignal);
    std::signal(SIGTERM, noteStopSignal);
    m_stopCheck.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        if (g_stopSignal == 0)
            return;
        m_stopCheck.Stop();
        // The window's deletion waits for an idle moment, which a display
        // drawing slower than its cycle never leaves: the loop is ended
        // here, and the toolkit deletes the window on the way out.
        if (wxWindow* window = GetTopWindow())
            window->Close(true);
        ExitMainLoop();
    });
    m_stopCheck.Start(kStopCheckMs);

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
    // auto asks the GL its name first: a software rasteriser draws slower
    // than the CPU backend.
    std::string glName, glError;
    const bool glReady =
        programRenderer() != ProgramRenderer::Auto || glxRendererName(wxGetX11Display(), &glName, &glError);
    const RendererChoice choice = chooseRenderer(programRenderer(), glReady, glName, glError);
    programRenderer() = choice.renderer;
    programRendererReason() = choice.why;
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
