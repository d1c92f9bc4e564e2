// Native window resources ahead of the first show.
#pragma once

class wxWindow;

// Creates the native (X11) window of window and of its parents without
// showing anything, so a GL context can be made current in it while the
// frame is still being built.
void RealizeNativeWindow(wxWindow* window);
