// The application object: starts the program with its one main window,
// drawn by the renderer of programRenderer(), and runs the About box.
#pragma once

#include <wx/app.h>
#include <wx/timer.h>

class CMainFrame;

class App : public wxApp {
public:
    App();
    // Opens the main window; false ends the program with nothing on screen.
    bool OnInit() override;

private:
    // Creates frame with the renderer the command line chose; false when
    // it cannot draw, the reason on stderr.
    bool CreateFrame(CMainFrame* frame);
    void OnAppAbout(wxCommandEvent& event);

    wxTimer m_stopCheck;  // acts on SIGINT and SIGTERM
};

wxDECLARE_APP(App);

// The GL windows need GLX, so GTK is asked for its X11 backend (which also
// runs on XWayland) unless the user chose a backend.
void PreferX11Backend();
