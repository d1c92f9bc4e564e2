// panel-snapshot: renders the display headless and writes a PNG.
#pragma once

#include <ostream>
#include <string>

#include "png_file.h"

struct SnapshotOptions {
    int frames = 1;
    int samples = -1;  // -1: the view's default rule
    int width = 778;   // the display area with its 10-pixel margin
    int height = 1034;
    bool sizeGiven = false;  // false with a module: its display's area and margin
    std::string displayPath;  // a display module; empty: the built-in display
    std::string output;
    bool listFormats = false;
    bool help = false;  // print kSnapshotUsage and do nothing else
    bool batched = false;  // the drawing library's batched submission mode
    std::string gl = "gl1";  // the drawing library's backend (--gl)
};

// Parses the command line; false with a message in *error for bad arguments.
bool parseSnapshotArgs(int argc, const char* const* argv, SnapshotOptions* options, std::string* error);

// The pixels of the current GL framebuffer, top row first, opaque as a
// window shows them. storedTopRowFirst: the framebuffer holds the picture
// top row first (drawn upside down, as a window stores it), so that its
// rows are taken as they are instead of turned.
RgbaImage readFramebuffer(int width, int height, bool storedTopRowFirst);

// Runs the tool (or prints the usage to out): 0 on success, 1 when the
// display module is refused or rendering fails, 2 for a sample count the
// table lacks.
int runSnapshot(const SnapshotOptions& options, std::ostream& out, std::ostream& err);

extern const char* const kSnapshotUsage;
