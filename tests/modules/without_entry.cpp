// A shared module that is no display: it exports no descriptor function.
#include "gr_display.h"

extern "C" GR_DISPLAY_EXPORTED int notADisplay() { return 7; }
