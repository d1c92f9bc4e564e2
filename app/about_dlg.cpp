#include "about_dlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "renderer_option.h"
#include "shell_bitmaps.h"
#include "shell_strings.h"

namespace {

// The classic template's text column, in dialog units.
constexpr int kTextWidthDialogUnits = 220;
constexpr int kIconSize = 32;

}  // namespace

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(kAboutCaption))
{
    auto* icon = new wxStaticBitmap(this, wxID_ANY, LoadMainIcons().GetIcon(wxSize(kIconSize, kIconSize)));
    auto* description = new wxStaticText(this, wxID_ANY, wxString());
    description->SetLabelText(wxString::FromUTF8(kAboutDescription));
    description->Wrap(ConvertDialogToPixels(wxSize(kTextWidthDialogUnits, 0)).x);
    auto* developer = new wxStaticText(this, wxID_ANY, wxString());
    developer->SetLabelText(wxString::FromUTF8(kAboutDeveloper));
    auto* renderer = new wxStaticText(this, wxID_ANY, wxString());
    renderer->SetLabelText(wxString::FromUTF8(programRendererReason()));
    renderer->Wrap(ConvertDialogToPixels(wxSize(kTextWidthDialogUnits, 0)).x);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    ok->SetDefault();

    auto* texts = new wxBoxSizer(wxVERTICAL);
    texts->Add(description, wxSizerFlags().Border(wxBOTTOM));
    texts->Add(developer, wxSizerFlags().Border(wxBOTTOM));
    texts->Add(renderer);
    auto* body = new wxBoxSizer(wxHORIZONTAL);
    body->Add(icon, wxSizerFlags().Border(wxRIGHT, 2 * wxSizerFlags::GetDefaultBorder()));
    body->Add(texts, wxSizerFlags(1));
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(body, wxSizerFlags(1).Expand().Border());
    top->Add(ok, wxSizerFlags().Centre().Border(wxLEFT | wxRIGHT | wxBOTTOM));
    SetSizerAndFit(top);
    ok->SetFocus();
}
