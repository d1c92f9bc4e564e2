// What the user does in the view window, for the display: mouse buttons,
// motion and wheel, a touch screen's fingers (WM_TOUCH, each finger a
// pointer of its own; the mouse messages Windows makes of them are left
// out), and keys while the view has the focus, in the display's units.
// The frame's accelerators are translated before the view sees a key, so
// the program's shortcuts keep theirs.
#pragma once

#include <windows.h>

#include "gr_display.h"

class DisplayRenderer;
class ViewPlacement;

// Takes one message of the view window: true when it was an input message
// queued for the display (the view then repaints to deliver it).
bool takeDisplayInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DisplayRenderer& renderer,
                      const ViewPlacement& placement);

// The key code of our list for a virtual-key code, or 0 for a key the list
// does not have.
int32_t displayKeyOfVirtualKey(WPARAM key);
