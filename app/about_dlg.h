// The About box (IDD_ABOUTBOX): the program's icon, its description and its
// developer, and OK. Run modally; the view's timer keeps running under it.
#pragma once

#include <wx/dialog.h>

class CAboutDlg : public wxDialog {
public:
    explicit CAboutDlg(wxWindow* parent);
};
