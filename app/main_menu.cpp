#include "main_menu.h"

#include <wx/menu.h>

#include "multisampling_commands.h"
#include "resource_ids.h"
#include "shell_strings.h"

namespace {

wxString Text(const char* text) { return wxString::FromUTF8(text); }

// The status-bar prompt shown while the item is highlighted.
wxString Prompt(int id) { return wxString::FromUTF8(CommandPrompt(id)); }

wxMenu* CreateMultisamplingMenu()
{
    auto* menu = new wxMenu;
    for (const MultisamplingCommand& command : kMultisamplingCommands) {
        menu->AppendCheckItem(command.id, Text(command.label), Prompt(command.id));
        if (command.id == ID_MULTISAMPLING_OFF || command.id == ID_MULTISAMPLING_16X)
            menu->AppendSeparator();
    }
    return menu;
}

}  // namespace

wxMenuBar* CreateMainMenu()
{
    auto* file = new wxMenu;
    file->Append(ID_APP_EXIT, Text(kMenuExit), Prompt(ID_APP_EXIT));

    auto* view = new wxMenu;
    view->AppendCheckItem(ID_VIEW_TOOLBAR, Text(kMenuToolbar), Prompt(ID_VIEW_TOOLBAR));
    view->AppendCheckItem(ID_VIEW_STATUS_BAR, Text(kMenuStatusBar), Prompt(ID_VIEW_STATUS_BAR));

    auto* drawing = new wxMenu;
    drawing->AppendSubMenu(CreateMultisamplingMenu(), Text(kMenuMultisampling));
    drawing->AppendSeparator();
    drawing->Append(ID_START, Text(kMenuStart), Prompt(ID_START));
    drawing->Append(ID_PAUSE, Text(kMenuPause), Prompt(ID_PAUSE));

    auto* information = new wxMenu;
    information->Append(ID_APP_ABOUT, Text(kMenuAbout), Prompt(ID_APP_ABOUT));

    auto* bar = new wxMenuBar;
    bar->Append(file, Text(kMenuFile));
    bar->Append(view, Text(kMenuView));
    bar->Append(drawing, Text(kMenuDrawing));
    bar->Append(information, Text(kMenuInformation));
    return bar;
}

// The pane commands have no handler in this program; the keys are kept.
wxAcceleratorTable CreateMainAccelerators()
{
    wxAcceleratorEntry entries[2];
    entries[0].Set(wxACCEL_NORMAL, WXK_F6, ID_NEXT_PANE);
    entries[1].Set(wxACCEL_SHIFT, WXK_F6, ID_PREV_PANE);
    return wxAcceleratorTable(2, entries);
}
