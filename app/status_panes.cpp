#include "status_panes.h"

#include <wx/statusbr.h>
#include <wx/utils.h>

#include "resource_ids.h"
#include "shell_strings.h"

namespace {

struct LockPane {
    wxKeyCode key;
    int textId;
};

const LockPane kLockPanes[] = {
    {WXK_CAPITAL, ID_INDICATOR_CAPS},
    {WXK_NUMLOCK, ID_INDICATOR_NUM},
    {WXK_SCROLL, ID_INDICATOR_SCRL},
};
constexpr int kPaneCount = 1 + sizeof kLockPanes / sizeof kLockPanes[0];
constexpr int kPanePadding = 12;

}  // namespace

void SetUpStatusPanes(wxStatusBar* bar)
{
    int widths[kPaneCount] = {-1};
    for (int i = 1; i < kPaneCount; ++i)
        widths[i] = bar->GetTextExtent(wxString::FromUTF8(ShellString(kLockPanes[i - 1].textId))).x + kPanePadding;
    bar->SetFieldsCount(kPaneCount, widths);
}

void UpdateLockPanes(wxStatusBar* bar)
{
    for (int i = 1; i < kPaneCount; ++i) {
        const LockPane& pane = kLockPanes[i - 1];
        const wxString text = wxGetKeyState(pane.key) ? wxString::FromUTF8(ShellString(pane.textId)) : wxString();
        if (bar->GetStatusText(i) != text)
            bar->SetStatusText(text, i);
    }
}
