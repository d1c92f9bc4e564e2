// A known drawing state for tests: the library's colours, widths and
// switches outlive a context and carry over from test to test otherwise.
#pragma once

#include "gr.h"

// Colour 0 (red), border colour 2 (blue), line and border width 1 (index 1),
// solid pattern, fill, border and antialiasing off. Needs a current context
// (selecting the pattern creates its texture).
inline void useKnownDrawingState()
{
    grSetColor(0);
    grSetBorderColor(2);
    grSetLineWidth(1);
    grSetBorderWidth(1);
    grSetLinePattern(0);
    grSetMode(GR_MODE_FILL, 0);
    grSetMode(GR_MODE_BORDER, 0);
    grSetMode(GR_MODE_ANTIALIAS, 0);
}
