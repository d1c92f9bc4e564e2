// The kiosk's command line after --display is taken out: platform-free, so
// that it is checked without a compositor.
#pragma once

#include <string>

#include "display_placement.h"
#include "gl_choice.h"

struct KioskOptions {
    int samples = -1;  // -1: the view's default rule
    int holdFrame = 0;  // 0: run on; N: show frames 1 to N, then hold frame N paused
    bool batched = false;  // the drawing library's batched submission mode
    // The drawing library's backend and the context it draws in: OpenGL ES 3
    // through the shader backend unless told otherwise.
    std::string gl = "es3";
    GlContextKind glKind = GlContextKind::Es3;
    // --renderer cpu: the CPU backend into shared memory, no EGL; --gl is
    // then not used.
    bool cpu = false;
    // Where the display goes on the output: fitted by default (--scale,
    // --rotate, --mirror, taken out of the command line before the rest).
    PlacementOptions placement;
    // --output: the compositor's output (wl_output name or description) to
    // show the display on; empty: the compositor's choice.
    std::string output;
    bool help = false;  // print kKioskUsage and do nothing else
};

// Parses argv[1..argc); false with a message in *error for bad arguments.
// The placement options are taken out before, by takePlacementOptions.
bool parseKioskArgs(int argc, const char* const* argv, KioskOptions* options, std::string* error);

extern const char* const kKioskUsage;
