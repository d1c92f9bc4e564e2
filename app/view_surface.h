// The renderer's surface on the view's window, as the view uses it: besides
// what the renderer asks of it, how a finished frame reaches the screen.
#pragma once

#include "render_surface.h"

class wxDC;

class ViewSurface : public RenderSurface {
public:
    // In the window's paint handler, after the renderer's frame: puts the
    // frame on dc where swapping buffers has not shown it already.
    virtual void ShowFrame(wxDC& dc) = 0;
};
