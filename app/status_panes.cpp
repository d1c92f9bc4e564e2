#include "status_panes.h"

#include <wx/statusbr.h>
#include <wx/utils.h>

#include "resource_ids.h"
#include "scroll_lock_x11.h"
#include "shell_strings.h"

namespace {

bool capsLockIsOn() { return wxGetKeyState(WXK_CAPITAL); }
bool numLockIsOn() { return wxGetKeyState(WXK_NUMLOCK); }

// The toolkit answers for Caps and Num Lock by their locked modifiers, but
// for Scroll Lock only whether the key is held.
struct LockPane {
    bool (*isOn)();
    int textId;
};

const LockPane kLockPanes[] = {
    {capsLockIsOn, ID_INDICATOR_CAPS},
    {numLockIsOn, ID_INDICATOR_NUM},
    {ScrollLockIsOn, ID_INDICATOR_SCRL},
};
constexpr int kPaneCount = 1 + sizeof kLockPanes / sizeof kLockPanes[0];

}  // namespace

void SetUpStatusPanes(wxStatusBar* bar)
{
    int widths[kPaneCount] = {-1};
    for (int i = 1; i < kPaneCount; ++i)
        widths[i] = bar->GetTextExtent(wxString::FromUTF8(ShellString(kLockPanes[i - 1].textId))).x +
                    2 * (kPaneTextMargin + bar->GetBorderX());
    // The last pane shares its room with the size grip.
    if (bar->HasFlag(wxSTB_SIZEGRIP))
        widths[kPaneCount - 1] += bar->GetSize().y;
    bar->SetFieldsCount(kPaneCount, widths);
}

void UpdateLockPanes(wxStatusBar* bar)
{
    for (int i = 1; i < kPaneCount; ++i) {
        const LockPane& pane = kLockPanes[i - 1];
        const wxString text = pane.isOn() ? wxString::FromUTF8(ShellString(pane.textId)) : wxString();
        if (bar->GetStatusText(i) != text)
            bar->SetStatusText(text, i);
    }
}
