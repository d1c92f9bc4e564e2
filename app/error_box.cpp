#include "error_box.h"

#include <wx/msgdlg.h>

#include <fontconfig/fontconfig.h>

namespace {

// Whether fontconfig knows a single font file, which the toolkit's text
// layout needs.
bool SystemHasFonts()
{
    FcPattern* any = FcPatternCreate();
    FcObjectSet* files = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* found = any && files ? FcFontList(nullptr, any, files) : nullptr;
    const bool has = found && found->nfont > 0;
    if (found)
        FcFontSetDestroy(found);
    if (files)
        FcObjectSetDestroy(files);
    if (any)
        FcPatternDestroy(any);
    return has;
}

}  // namespace

// Without a single font the toolkit wraps the text of a message box after
// every character and the box grows taller than any screen.
void ShowErrorBox(wxWindow* parent, const char* text, const char* detail, const char* caption)
{
    if (!SystemHasFonts())
        return;
    wxMessageDialog box(parent, wxString::FromUTF8(text), wxString::FromUTF8(caption), wxOK | wxICON_ERROR);
    if (detail && *detail)
        box.SetExtendedMessage(wxString::FromUTF8(detail));
    box.ShowModal();
}
