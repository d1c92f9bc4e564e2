// What the user does in the view window, for the display: mouse buttons,
// motion and wheel, a touch screen's fingers each as a pointer of its own
// (from 1, through GTK's touch events), and keys while the view has the focus, in the display's units. The
// program's menus, toolbar and shortcuts keep their keys: the frame takes
// its own keys first (F11, F12), keys of its accelerator table and keys
// with Ctrl or Alt never reach the display, and keys outside the display's
// list go on to the toolkit.
#pragma once

#include <functional>

#include "gr_display.h"

class wxWindow;
class DisplayRenderer;
class ViewPlacement;

// Binds the window's input events: each becomes a GrEvent queued on
// renderer, and the window repaints to deliver it. placement gives where
// the display lies in the window now.
void bindDisplayInput(wxWindow* window, DisplayRenderer* renderer, std::function<const ViewPlacement&()> placement);

// The key code of our list for a wxWidgets key code, or 0 for a key the
// list does not have.
int32_t displayKeyOfWx(int wxKey);
