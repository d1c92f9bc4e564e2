// How a desktop program's window shows the display, the same on every
// platform: --fullscreen, --geometry WxH+X+Y, --no-bars (the display alone,
// without menu, toolbar and status bar; F12 brings them back, F11 leaves or
// enters full screen), and the placement of the display in the view
// (--scale, --rotate, --mirror).
#pragma once

#include <string>

#include "display_placement.h"

struct WindowGeometry {
    bool sizeGiven = false;
    int width = 0;   // the view's client area, in physical pixels
    int height = 0;
    bool positionGiven = false;
    int x = 0;       // the window's left and top edges on the desktop
    int y = 0;
};

struct WindowOptions {
    bool fullscreen = false;
    bool noBars = false;
    WindowGeometry geometry;
    PlacementOptions placement;
};

// Reads WxH, WxH+X+Y, WxH-X-Y or +X+Y (X11's form: a minus counts from the
// right or bottom edge, kept as a negative number). False for anything else
// and for sizes below 1 or above 32767.
bool parseGeometry(const std::string& text, WindowGeometry* geometry);

// Removes the window options from argv (argc follows) into *options. False
// with a message in *error for a bad value or an option given twice.
bool takeWindowOptions(int* argc, char** argv, WindowOptions* options, std::string* error);

// The options the program's window starts with; set once from the command line.
WindowOptions& programWindowOptions();
