// The data state drawn over the kiosk's display, for a person at the panel
// without a status bar: the feed's status line on a dark plate in the top
// left corner, in the display's own first font and its brightest and
// darkest colours.
#pragma once

#include <string>

#include "gr_display.h"

// Between the display's drawDisplay and grEndFrame, in the display's
// projection of a view width x height pixels.
void drawDataOverlay(const std::string& status, const GrDisplay& display, int width, int height);
